// The checks on a recipient envelope (mode letter "D") that need no secret
// key, in the program's order (block/keys/recipient_check.h): the version
// and suite bytes first, as far as the envelope has them (a later format
// may be laid out otherwise); then the header's length, the count and the
// reserved byte; then the length of the slots, the nonce and the tag. The
// block reader makes them before anything is asked, and opening makes them
// first. keys_layout.mjs gives the bytes.

import {
  RECIPIENT_VERSION, SUITE_X25519_HKDF_SHA256_AES256GCM, SUITE_OFFSET, COUNT_OFFSET, RESERVED_OFFSET,
  WRITTEN_AT_OFFSET, SENDER_OFFSET, EPHEMERAL_OFFSET, RECIPIENT_HEADER_SIZE, SLOT_SIZE, MOST_RECIPIENTS,
  SHORTEST_SEALED_TEXT, X25519_KEY_SIZE,
} from './keys_layout.mjs';
import { OUTCOME } from './outcome.mjs';

// The time written: seconds since 1970 as the 8 bytes at `offset` say
// (big-endian). A Number: past 2^53 seconds (no clock says that) it is
// only near.
export function writtenAtOf(envelope, offset = WRITTEN_AT_OFFSET) {
  let seconds = 0;
  for (let i = 0; i < 8; i++) seconds = seconds * 256 + envelope[offset + i];
  return seconds;
}

// { problem: null, count, writtenAt, header, sender, ephemeral, slots,
// sealedText } (views into the envelope) when it may be opened with a key,
// or { problem } with the outcome it comes to without one: later_format,
// refused_settings (a count outside 1..64, a reserved byte other than 0)
// or damaged.
export function checkRecipientEnvelope(envelope) {
  const size = envelope.length;
  if (size === 0) return { problem: OUTCOME.damaged };
  if (envelope[0] !== RECIPIENT_VERSION) return { problem: OUTCOME.later_format };
  if (size > SUITE_OFFSET && envelope[SUITE_OFFSET] !== SUITE_X25519_HKDF_SHA256_AES256GCM) {
    return { problem: OUTCOME.later_format };
  }
  if (size < RECIPIENT_HEADER_SIZE) return { problem: OUTCOME.damaged };
  const count = envelope[COUNT_OFFSET];
  if (count < 1 || count > MOST_RECIPIENTS || envelope[RESERVED_OFFSET] !== 0) {
    return { problem: OUTCOME.refused_settings };
  }
  const slotsEnd = RECIPIENT_HEADER_SIZE + count * SLOT_SIZE;
  if (size < slotsEnd + SHORTEST_SEALED_TEXT) return { problem: OUTCOME.damaged };
  return {
    problem: null,
    count,
    writtenAt: writtenAtOf(envelope),
    header: envelope.subarray(0, RECIPIENT_HEADER_SIZE),
    sender: envelope.subarray(SENDER_OFFSET, SENDER_OFFSET + X25519_KEY_SIZE),
    ephemeral: envelope.subarray(EPHEMERAL_OFFSET, EPHEMERAL_OFFSET + X25519_KEY_SIZE),
    slots: envelope.subarray(RECIPIENT_HEADER_SIZE, slotsEnd),
    sealedText: envelope.subarray(slotsEnd),
  };
}
