// Writing a recipient block (mode letter "D"): the text sealed for the
// recipients' public keys and the writer's (recipient_seal.mjs), its armour
// framed like every block (the program's block/keys/recipient_block.h).
// Reading one is the block reader's and the decrypt run's work.

import { RECIPIENT_MODE_LETTER } from './block_rules.mjs';
import { frameBlock } from './armoured_block.mjs';
import { base64Encode } from './base64.mjs';
import { SEAL_STATUS, sealRecipientEnvelope } from './recipient_seal.mjs';

// The block for an envelope, wrapped at `width` as every block is.
export const frameRecipientEnvelope = (envelope, width) =>
  frameBlock(RECIPIENT_MODE_LETTER, base64Encode(envelope), width);

// { status: 'sealed', block } or { status } (SEAL_STATUS).
export async function writeRecipientBlock(provider, textBytes, senderSecret, recipients, width) {
  const sealed = await sealRecipientEnvelope(provider, textBytes, senderSecret, recipients);
  if (sealed.status !== SEAL_STATUS.sealed) return { status: sealed.status };
  return { status: SEAL_STATUS.sealed, block: frameRecipientEnvelope(sealed.envelope, width) };
}
