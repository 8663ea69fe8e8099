// The checks on a key envelope (mode letter "K") that need no hash, as the
// block reader makes them before anything is asked (the program's
// check_key_envelope, block/keys/key_block.h); key_block.mjs reads the rest.

import {
  KEY_BLOCK_VERSION, KEY_TYPE_X25519, KEY_TYPE_OFFSET, KEY_NAME_LENGTH_OFFSET, SHORTEST_KEY_ENVELOPE,
} from './keys_layout.mjs';
import { OUTCOME } from './outcome.mjs';

// The checks that need no hash, as the block reader makes them before
// anything is asked: null when the rest may be read, else the outcome. A
// later version may lay its bytes out otherwise: its length says nothing.
export function checkKeyEnvelope(envelope) {
  const size = envelope.length;
  if (size === 0) return OUTCOME.damaged;
  if (envelope[0] !== KEY_BLOCK_VERSION) return OUTCOME.later_format;
  if (size > KEY_TYPE_OFFSET && envelope[KEY_TYPE_OFFSET] !== KEY_TYPE_X25519) return OUTCOME.later_format;
  if (size < SHORTEST_KEY_ENVELOPE) return OUTCOME.damaged;
  if (size !== SHORTEST_KEY_ENVELOPE + envelope[KEY_NAME_LENGTH_OFFSET]) return OUTCOME.damaged;
  return null;
}
