// The key block (mode letter "K"): someone's public key and the name its
// holder suggests, read by the program's rules (block/keys/key_block.h) in
// its order. The page shows nothing of one yet; it reads it, so that a text
// holding one comes to what it comes to in the program.
//
//   0   1   version: 1          1   1   key type: 1 = X25519
//   2   32  the public key      34  1   name length L, 0..64
//   35  L   the name, UTF-8 in NFC
//   35+L 4  the first 4 bytes of SHA-256 over bytes 0..34+L

import { OUTCOME } from './outcome.mjs';

export const KEY_BLOCK_VERSION = 1;
export const KEY_TYPE_X25519 = 1;
export const KEY_NAME_LENGTH_OFFSET = 34;
export const LONGEST_KEY_NAME = 64;
export const KEY_CHECKSUM_SIZE = 4;
export const SHORTEST_KEY_ENVELOPE = KEY_NAME_LENGTH_OFFSET + 1 + KEY_CHECKSUM_SIZE;

// Characters no name may hold, so that no name can disguise itself as
// another: controls, direction marks, embeddings, overrides, isolates.
const FORBIDDEN_IN_NAMES = /[\u0000-\u001F\u007F-\u009F\u200E\u200F\u202A-\u202E\u2066-\u2069]/u;

// The checks that need no hash, as the program's reader makes them: null
// when the rest may be read, else the outcome.
export function checkKeyEnvelope(envelope) {
  const size = envelope.length;
  if (size === 0) return OUTCOME.damaged;
  if (envelope[0] !== KEY_BLOCK_VERSION) return OUTCOME.later_format;
  if (size > 1 && envelope[1] !== KEY_TYPE_X25519) return OUTCOME.later_format;
  if (size < SHORTEST_KEY_ENVELOPE) return OUTCOME.damaged;
  if (size !== SHORTEST_KEY_ENVELOPE + envelope[KEY_NAME_LENGTH_OFFSET]) return OUTCOME.damaged;
  return null;
}

// { outcome, publicKey, name }: every check in order, the checksum (damaged)
// and then the name (refused_settings) after checkKeyEnvelope's.
export async function readKeyEnvelope(envelope) {
  const problem = checkKeyEnvelope(envelope);
  if (problem) return { outcome: problem };
  const body = envelope.subarray(0, envelope.length - KEY_CHECKSUM_SIZE);
  const digest = new Uint8Array(await globalThis.crypto.subtle.digest('SHA-256', body));
  for (let i = 0; i < KEY_CHECKSUM_SIZE; i++) {
    if (digest[i] !== envelope[body.length + i]) return { outcome: OUTCOME.damaged };
  }
  const nameBytes = body.subarray(KEY_NAME_LENGTH_OFFSET + 1);
  if (nameBytes.length > LONGEST_KEY_NAME) return { outcome: OUTCOME.refused_settings };
  let name;
  try {
    name = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(nameBytes);
  } catch {
    return { outcome: OUTCOME.refused_settings };
  }
  if (FORBIDDEN_IN_NAMES.test(name) || name.normalize('NFC') !== name) return { outcome: OUTCOME.refused_settings };
  return { outcome: OUTCOME.opened, publicKey: body.slice(2, KEY_NAME_LENGTH_OFFSET), name };
}
