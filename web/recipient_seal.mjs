// Sealing a text into a recipient envelope (keys_layout.mjs gives the
// bytes), for one or more public keys, from the holder of the sender's
// secret key, who is always among the recipients so that a sender can read
// what they sent: the program's block/keys/recipient_seal.h, step for step.
// Every random input can be given, so that the shared known answers
// (tests/vectors/recipient-blocks.json) come out byte for byte.

import {
  RECIPIENT_VERSION, SUITE_X25519_HKDF_SHA256_AES256GCM, SUITE_OFFSET, COUNT_OFFSET, RESERVED_OFFSET,
  WRITTEN_AT_OFFSET, SENDER_OFFSET, EPHEMERAL_OFFSET, RECIPIENT_HEADER_SIZE, SLOT_SIZE, MOST_RECIPIENTS,
  SHORTEST_SEALED_TEXT, TEXT_KEY_SIZE,
} from './keys_layout.mjs';
import { MAX_TEXT_BYTES, NONCE_SIZE } from './envelope_layout.mjs';
import { SLOT_NONCE, slotWrapKey, slotAssociatedData } from './recipient_wrap.mjs';
import { browserRandom, randomIndex } from './random_index.mjs';

const allZero = (bytes) => bytes.every((b) => b === 0);
const sameKey = (a, b) => a.length === b.length && a.every((x, i) => x === b[i]);

// Why a seal failed, by the program's SealStatus names.
export const SEAL_STATUS = Object.freeze({
  sealed: 'sealed',
  recipient_count: 'recipient_count',              // none, or more than 64 with the writer
  recipient_key_refused: 'recipient_key_refused',  // a key of low order: X25519 gives all zeros
  text_too_long: 'text_too_long',
  text_not_utf8: 'text_not_utf8',
  random_unavailable: 'random_unavailable',
  crypto_failed: 'crypto_failed',
});

const failure = (status) => ({ status });

function writtenAtBytes(header, seconds) {
  let rest = BigInt(seconds);
  for (let i = 7; i >= 0; i--) {
    header[WRITTEN_AT_OFFSET + i] = Number(rest & 255n);
    rest >>= 8n;
  }
}

// One recipient's slot: the text key sealed under its wrap key.
async function sealSlot(provider, inputs, senderSecret, ephemeral, sender, recipient, associatedData) {
  const withEphemeral = await provider.x25519Agree(inputs.ephemeralSecret, recipient);
  const withSender = await provider.x25519Agree(senderSecret, recipient);
  try {
    if (withEphemeral.status === 'all_zero' || withSender.status === 'all_zero') {
      return { status: SEAL_STATUS.recipient_key_refused };
    }
    const wrap = await slotWrapKey(provider, withEphemeral.shared, withSender.shared, ephemeral, sender, recipient);
    return { status: SEAL_STATUS.sealed, slot: await provider.seal(wrap, SLOT_NONCE, associatedData, inputs.textKey) };
  } finally {
    withEphemeral.shared?.fill(0);
    withSender.shared?.fill(0);
  }
}

// For known-answer and interoperability tests: the slots for `slotOrder`
// exactly as given (the writer's key is not added), every random input
// given in `inputs` = { ephemeralSecret, textKey, nonce, writtenAt }. A
// text key or one-off key used twice gives texts away.
// { status: 'sealed', envelope } or { status } (SEAL_STATUS).
export async function sealRecipientEnvelopeWith(provider, textBytes, senderSecret, slotOrder, inputs) {
  const count = slotOrder.length;
  if (count < 1 || count > MOST_RECIPIENTS) return failure(SEAL_STATUS.recipient_count);
  if (textBytes.length > MAX_TEXT_BYTES) return failure(SEAL_STATUS.text_too_long);
  try {
    new TextDecoder('utf-8', { fatal: true }).decode(textBytes);
  } catch {
    return failure(SEAL_STATUS.text_not_utf8);
  }
  try {
    const sender = await provider.x25519PublicKey(senderSecret);
    const ephemeral = await provider.x25519PublicKey(inputs.ephemeralSecret);
    const slotsEnd = RECIPIENT_HEADER_SIZE + count * SLOT_SIZE;
    const envelope = new Uint8Array(slotsEnd + SHORTEST_SEALED_TEXT + textBytes.length);
    const header = envelope.subarray(0, RECIPIENT_HEADER_SIZE);
    header[0] = RECIPIENT_VERSION;
    header[SUITE_OFFSET] = SUITE_X25519_HKDF_SHA256_AES256GCM;
    header[COUNT_OFFSET] = count;
    header[RESERVED_OFFSET] = 0;
    writtenAtBytes(header, inputs.writtenAt);
    header.set(sender, SENDER_OFFSET);
    header.set(ephemeral, EPHEMERAL_OFFSET);

    // The text first: every slot's associated data holds its digest.
    const sealedText = envelope.subarray(slotsEnd);
    sealedText.set(inputs.nonce);
    const textKey = await provider.aesKey(inputs.textKey);
    const ciphertext = await provider.seal(textKey, inputs.nonce, header, textBytes);
    if (ciphertext.length !== sealedText.length - NONCE_SIZE) return failure(SEAL_STATUS.crypto_failed);
    sealedText.set(ciphertext, NONCE_SIZE);
    const associatedData = await slotAssociatedData(provider, header, sealedText);

    for (let i = 0; i < count; i++) {
      const sealed = await sealSlot(provider, inputs, senderSecret, ephemeral, sender, slotOrder[i], associatedData);
      if (sealed.status !== SEAL_STATUS.sealed) return failure(sealed.status);
      if (sealed.slot.length !== SLOT_SIZE) return failure(SEAL_STATUS.crypto_failed);
      envelope.set(sealed.slot, RECIPIENT_HEADER_SIZE + i * SLOT_SIZE);
    }
    return { status: SEAL_STATUS.sealed, envelope };
  } catch {
    return failure(SEAL_STATUS.crypto_failed);
  }
}

// Puts the slots in random order, so that their order tells nothing of who
// they are for: Fisher-Yates, each draw by randomIndex. False when the
// source fails.
export function shuffleSlotOrder(order, randomValues = browserRandom) {
  for (let i = order.length; i > 1; i--) {
    const j = randomIndex(i, randomValues);
    if (j === null) return false;
    [order[i - 1], order[j]] = [order[j], order[i - 1]];
  }
  return true;
}

// The seconds since 1970 the clock says; 0 before then.
export const nowSeconds = () => Math.max(0, Math.floor(Date.now() / 1000));

// For `recipients` and the writer (added when missing; a key given twice
// gets one slot), the slots shuffled with the random source, a fresh
// one-off key, text key and nonce, written now. The one-off secret key and
// the text key are wiped when done.
// `randomValues` draws the slots' order (random_index.mjs).
export async function sealRecipientEnvelope(provider, textBytes, senderSecret, recipients, randomValues = browserRandom) {
  let writer;
  try {
    writer = await provider.x25519PublicKey(senderSecret);
  } catch {
    return failure(SEAL_STATUS.crypto_failed);
  }
  const slotOrder = [];
  for (const key of [...recipients, writer]) {
    if (!slotOrder.some((k) => sameKey(k, key))) slotOrder.push(key);
  }
  if (slotOrder.length > MOST_RECIPIENTS) return failure(SEAL_STATUS.recipient_count);
  if (!shuffleSlotOrder(slotOrder, randomValues)) return failure(SEAL_STATUS.random_unavailable);

  let inputs;
  try {
    const ephemeral = await provider.generateX25519KeyPair();
    inputs = {
      ephemeralSecret: ephemeral.secret, textKey: provider.randomBytes(TEXT_KEY_SIZE),
      nonce: provider.randomBytes(NONCE_SIZE), writtenAt: nowSeconds(),
    };
  } catch {
    return failure(SEAL_STATUS.random_unavailable);
  }
  try {
    // A source that reports success but hands out zeros is broken too.
    if (allZero(inputs.textKey) || allZero(inputs.nonce)) return failure(SEAL_STATUS.random_unavailable);
    return await sealRecipientEnvelopeWith(provider, textBytes, senderSecret, slotOrder, inputs);
  } finally {
    inputs.ephemeralSecret.fill(0);
    inputs.textKey.fill(0);
  }
}
