// The checks on a recipient envelope (mode letter "D") that need no secret
// key, in the program's order (block/keys/recipient_check.h): the version
// and suite bytes first, as far as the envelope has them; then the
// header's length, the count and the reserved byte; then the length of the
// slots, the nonce and the tag. The page opens no recipient block yet: one
// that passes these checks needs a key it cannot take.
//
//   0   1   version: 1
//   1   1   suite: 1 = X25519, HKDF-SHA256, AES-256-GCM
//   2   1   recipient count n, 1..64
//   3   1   reserved: 0
//   4   8   written at          12  32  the sender's public key
//   44  32  a one-off public key
//   76  48n the slots, then the nonce (12), the ciphertext and its tag (16)

import { OUTCOME } from './outcome.mjs';

export const RECIPIENT_VERSION = 1;
export const SUITE_X25519_HKDF_SHA256_AES256GCM = 1;
export const MOST_RECIPIENTS = 64;
export const RECIPIENT_HEADER_SIZE = 76;
export const SLOT_SIZE = 48;
export const SHORTEST_SEALED_TEXT = 28;

// { problem: null } when the envelope may be opened with a key, or
// { problem } with the outcome it comes to without one: later_format,
// refused_settings (a count outside 1..64, a reserved byte other than 0) or
// damaged.
export function checkRecipientEnvelope(envelope) {
  const size = envelope.length;
  if (size === 0) return { problem: OUTCOME.damaged };
  if (envelope[0] !== RECIPIENT_VERSION) return { problem: OUTCOME.later_format };
  if (size > 1 && envelope[1] !== SUITE_X25519_HKDF_SHA256_AES256GCM) return { problem: OUTCOME.later_format };
  if (size < RECIPIENT_HEADER_SIZE) return { problem: OUTCOME.damaged };
  const count = envelope[2];
  if (count < 1 || count > MOST_RECIPIENTS || envelope[3] !== 0) return { problem: OUTCOME.refused_settings };
  if (size < RECIPIENT_HEADER_SIZE + count * SLOT_SIZE + SHORTEST_SEALED_TEXT) return { problem: OUTCOME.damaged };
  return { problem: null };
}
