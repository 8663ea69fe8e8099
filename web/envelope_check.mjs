// The checks on an envelope that need no password and no key derivation,
// in the program's order: the version, key derivation and cipher bytes
// first, as far as the envelope has them (a later format may be laid out
// differently, so its length says nothing); then the length, the iteration
// count, the fill.

import {
  ENVELOPE_VERSION, KDF_PBKDF2_HMAC_SHA256, CIPHER_AES_256_GCM, VERSION_OFFSET, KDF_OFFSET, CIPHER_OFFSET,
  FILL_OFFSET, ITERATIONS_OFFSET, SALT_OFFSET, SALT_SIZE, NONCE_OFFSET, NONCE_SIZE, HEADER_SIZE, TAG_SIZE,
  MIN_ENVELOPE_SIZE, MAX_FILL, MIN_READ_ITERATIONS, MAX_READ_ITERATIONS, MAX_TEXT_BYTES,
} from './envelope_layout.mjs';
import { OUTCOME } from './outcome.mjs';

// { problem: null, iterations, header, salt, nonce, sealed } when readable,
// or { problem } with the outcome it comes to without a key: later_format
// (a later version: tell the user), refused_settings (version 1 with a key
// derivation or cipher readers do not know, or a round count outside the
// bounds: a key made weak on purpose, or one that would tie the reader up;
// a later page would not help) or damaged.
export function checkEnvelope(envelope) {
  const size = envelope.length;
  if (size === 0) return { problem: OUTCOME.damaged };
  if (envelope[VERSION_OFFSET] !== ENVELOPE_VERSION) return { problem: OUTCOME.later_format };
  if (size > KDF_OFFSET && envelope[KDF_OFFSET] !== KDF_PBKDF2_HMAC_SHA256) return { problem: OUTCOME.refused_settings };
  if (size > CIPHER_OFFSET && envelope[CIPHER_OFFSET] !== CIPHER_AES_256_GCM) return { problem: OUTCOME.refused_settings };
  if (size < MIN_ENVELOPE_SIZE) return { problem: OUTCOME.damaged };

  const at = ITERATIONS_OFFSET;
  const iterations = ((envelope[at] << 24) >>> 0) + (envelope[at + 1] << 16) + (envelope[at + 2] << 8) + envelope[at + 3];
  if (iterations < MIN_READ_ITERATIONS || iterations > MAX_READ_ITERATIONS) return { problem: OUTCOME.refused_settings };

  // The fill count itself is only covered by the tag; here it must at least
  // fit the length, and what it marks as fill must be zero.
  const fill = envelope[FILL_OFFSET];
  if (fill > MAX_FILL || size % 4 !== 0 || size - MIN_ENVELOPE_SIZE < fill) return { problem: OUTCOME.damaged };
  for (let i = size - fill; i < size; i++) if (envelope[i] !== 0) return { problem: OUTCOME.damaged };
  const textBytes = size - MIN_ENVELOPE_SIZE - fill;
  if (textBytes > MAX_TEXT_BYTES) return { problem: OUTCOME.later_format };

  return {
    problem: null,
    iterations,
    header: envelope.subarray(0, HEADER_SIZE),
    salt: envelope.subarray(SALT_OFFSET, SALT_OFFSET + SALT_SIZE),
    nonce: envelope.subarray(NONCE_OFFSET, NONCE_OFFSET + NONCE_SIZE),
    sealed: envelope.subarray(HEADER_SIZE, HEADER_SIZE + textBytes + TAG_SIZE),
  };
}
