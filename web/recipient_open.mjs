// Opening a recipient envelope with a secret key (the program's
// block/keys/recipient_open.h): every slot is tried; the one that opens
// gives the text key.

import { SLOT_SIZE } from './keys_layout.mjs';
import { NONCE_SIZE } from './envelope_layout.mjs';
import { checkRecipientEnvelope } from './recipient_check.mjs';
import { SLOT_NONCE, slotWrapKey, slotAssociatedData } from './recipient_wrap.mjs';
import { OUTCOME } from './outcome.mjs';

// { outcome: 'opened', text, sender: { publicKey, writtenAt } } (who wrote
// it, and when by their clock: only the holder of that key, or the reader,
// could have made the slot that opened), or { outcome } with
// checkRecipientEnvelope's problem, refused_settings (E or S of low order:
// X25519 gives all zeros, before any slot is tried), not_for_this_key (no
// slot opened, or the text's tag failed: the two cannot be told apart),
// damaged (an authentic text that is not UTF-8) or failed (the browser's
// cryptography failed).
export async function openRecipientEnvelope(provider, envelope, secret) {
  const parts = checkRecipientEnvelope(envelope);
  if (parts.problem) return { outcome: parts.problem };
  let withEphemeral;
  let withSender;
  let textKey = null;
  try {
    withEphemeral = await provider.x25519Agree(secret, parts.ephemeral);
    withSender = await provider.x25519Agree(secret, parts.sender);
    if (withEphemeral.status === 'all_zero' || withSender.status === 'all_zero') {
      return { outcome: OUTCOME.refused_settings };
    }
    const own = await provider.x25519PublicKey(secret);
    const wrap = await slotWrapKey(provider, withEphemeral.shared, withSender.shared, parts.ephemeral, parts.sender, own);
    const associatedData = await slotAssociatedData(provider, parts.header, parts.sealedText);
    for (let i = 0; i < parts.count && textKey === null; i++) {
      textKey = await provider.open(wrap, SLOT_NONCE, associatedData, parts.slots.subarray(i * SLOT_SIZE, (i + 1) * SLOT_SIZE));
    }
    if (textKey === null) return { outcome: OUTCOME.not_for_this_key };
    const plain = await provider.open(await provider.aesKey(textKey), parts.sealedText.subarray(0, NONCE_SIZE),
      parts.header, parts.sealedText.subarray(NONCE_SIZE));
    if (plain === null) return { outcome: OUTCOME.not_for_this_key };
    try {
      // A leading U+FEFF is part of the text: keep it.
      const text = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(plain);
      return { outcome: OUTCOME.opened, text, sender: { publicKey: parts.sender.slice(), writtenAt: parts.writtenAt } };
    } catch {
      return { outcome: OUTCOME.damaged };
    } finally {
      plain.fill(0);
    }
  } catch {
    return { outcome: OUTCOME.failed };
  } finally {
    withEphemeral?.shared?.fill(0);
    withSender?.shared?.fill(0);
    textKey?.fill(0);
  }
}
