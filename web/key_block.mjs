// The key block (mode letter "K"): someone's public key and the name its
// holder suggests, framed like every block, for copying into a mail; it
// carries no message. Written and read by the program's rules
// (block/keys/key_block.h) in its order; keys_layout.mjs gives the bytes.
// Its safety digits (safety_digits.mjs) are what makes a key trustworthy,
// compared once.

import {
  KEY_BLOCK_VERSION, KEY_TYPE_X25519, KEY_TYPE_OFFSET, KEY_PUBLIC_OFFSET, KEY_NAME_LENGTH_OFFSET, KEY_NAME_OFFSET,
  KEY_CHECKSUM_SIZE, X25519_KEY_SIZE,
} from './keys_layout.mjs';
import { checkKeyEnvelope } from './key_check.mjs';
import { KEY_MODE_LETTER } from './block_rules.mjs';
import { frameBlock } from './armoured_block.mjs';
import { base64Encode } from './base64.mjs';
import { keyNameToWrite, writtenKeyName } from './key_name.mjs';
import { OUTCOME } from './outcome.mjs';
import { webCrypto } from './web_crypto.mjs';

// { problem: null, envelope } for a public key and its holder's name (put
// in NFC here), or { problem } with keyNameToWrite's.
export async function writeKeyEnvelope(publicKey, name, provider = webCrypto) {
  const written = keyNameToWrite(name);
  if (written.problem) return { problem: written.problem };
  const body = new Uint8Array(KEY_NAME_OFFSET + written.utf8.length);
  body[0] = KEY_BLOCK_VERSION;
  body[KEY_TYPE_OFFSET] = KEY_TYPE_X25519;
  body.set(publicKey, KEY_PUBLIC_OFFSET);
  body[KEY_NAME_LENGTH_OFFSET] = written.utf8.length;
  body.set(written.utf8, KEY_NAME_OFFSET);
  const digest = await provider.sha256(body);
  const envelope = new Uint8Array(body.length + KEY_CHECKSUM_SIZE);
  envelope.set(body);
  envelope.set(digest.subarray(0, KEY_CHECKSUM_SIZE), body.length);
  return { problem: null, envelope };
}

// The block for an envelope, wrapped at `width` as every block is.
export const frameKeyEnvelope = (envelope, width) => frameBlock(KEY_MODE_LETTER, base64Encode(envelope), width);

// { outcome, publicKey, name }: every check in order, the checksum (damaged)
// and then the name (refused_settings) after checkKeyEnvelope's.
export async function readKeyEnvelope(envelope, provider = webCrypto) {
  const problem = checkKeyEnvelope(envelope);
  if (problem) return { outcome: problem };
  const body = envelope.subarray(0, envelope.length - KEY_CHECKSUM_SIZE);
  const digest = await provider.sha256(body);
  for (let i = 0; i < KEY_CHECKSUM_SIZE; i++) {
    if (digest[i] !== envelope[body.length + i]) return { outcome: OUTCOME.damaged };
  }
  const name = writtenKeyName(body.subarray(KEY_NAME_OFFSET));
  if (name === null) return { outcome: OUTCOME.refused_settings };
  return {
    outcome: OUTCOME.opened, publicKey: body.slice(KEY_PUBLIC_OFFSET, KEY_PUBLIC_OFFSET + X25519_KEY_SIZE), name,
  };
}
