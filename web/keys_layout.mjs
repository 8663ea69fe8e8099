// The blocks of keys, byte by byte (docs/format.md, sections 4 to 7; the
// program's block/keys/keys_layout.h, whose numbers and labels
// tests/web/rule_numbers.test.mjs holds these to).
//
// Key block (mode letter "K"): someone's public key.
//   0      1   version: 1          1   1   key type: 1 = X25519
//   2      32  the public key      34  1   name length L, 0..64
//   35     L   the holder's name, UTF-8 in NFC
//   35+L   4   the first 4 bytes of SHA-256 over bytes 0..34+L
//
// Recipient block (mode letter "D"): a text for one or more keys.
//   0      1   version: 1
//   1      1   suite: 1 = X25519, HKDF-SHA256, AES-256-GCM
//   2      1   recipient count n, 1..64
//   3      1   reserved: 0
//   4      8   written at: seconds since 1970-01-01 UTC, big-endian
//   12     32  the sender's public key S
//   44     32  a one-off public key E
//   76     48n the slots: the text key sealed for each recipient
//   76+48n 12  the text nonce, then the ciphertext of the text and its tag
// H is bytes 0..75, P everything after the slots. The text is sealed under
// a random text key with associated data H; each recipient R's slot is the
// text key sealed under wrap = HKDF-SHA256(X25519(e, R) ‖ X25519(s, R),
// salt E ‖ S ‖ R, info WRAP_INFO), nonce 12 zero bytes, associated data
// H ‖ SHA-256(P).

import { NONCE_SIZE, TAG_SIZE } from './envelope_layout.mjs';

export const X25519_KEY_SIZE = 32;
export const TEXT_KEY_SIZE = 32;

// Key block.
export const KEY_BLOCK_VERSION = 1;
export const KEY_TYPE_X25519 = 1;
export const KEY_TYPE_OFFSET = 1;
export const KEY_PUBLIC_OFFSET = 2;
export const KEY_NAME_LENGTH_OFFSET = KEY_PUBLIC_OFFSET + X25519_KEY_SIZE;  // 34
export const KEY_NAME_OFFSET = KEY_NAME_LENGTH_OFFSET + 1;
export const LONGEST_KEY_NAME = 64;  // bytes of UTF-8
export const KEY_CHECKSUM_SIZE = 4;
// The envelope with the empty name, the shortest there is.
export const SHORTEST_KEY_ENVELOPE = KEY_NAME_OFFSET + KEY_CHECKSUM_SIZE;  // 39

// Safety digits: SHA-256 of this label and the public key, six groups of
// five digits.
export const DIGITS_LABEL = 'mu-quiren key digits v1';
export const DIGIT_GROUPS = 6;

// Recipient block.
export const RECIPIENT_VERSION = 1;
export const SUITE_X25519_HKDF_SHA256_AES256GCM = 1;
export const SUITE_OFFSET = 1;
export const COUNT_OFFSET = 2;
export const RESERVED_OFFSET = 3;
export const WRITTEN_AT_OFFSET = 4;
export const SENDER_OFFSET = 12;
export const EPHEMERAL_OFFSET = SENDER_OFFSET + X25519_KEY_SIZE;             // 44
export const RECIPIENT_HEADER_SIZE = EPHEMERAL_OFFSET + X25519_KEY_SIZE;     // 76
export const SLOT_SIZE = TEXT_KEY_SIZE + TAG_SIZE;  // 48: the text key and its tag
export const MOST_RECIPIENTS = 64;
// After the slots: the nonce, the ciphertext (perhaps empty) and the tag.
export const SHORTEST_SEALED_TEXT = NONCE_SIZE + TAG_SIZE;  // 28
export const WRAP_INFO = 'mu-quiren recipient v1';

// Secret key text: this label, then the 32-byte X25519 secret key in base64
// without padding, on one line.
export const SECRET_KEY_LABEL = 'QUIREN-SECRET-KEY-1 ';
