// The strong envelope, byte by byte (the program's layout, unchanged):
//
//   0   1   format version: 1
//   1   1   key derivation: 1 = PBKDF2-HMAC-SHA256
//   2   1   cipher: 1 = AES-256-GCM
//   3   1   fill: how many zero bytes follow the tag (0..3), so that the
//           envelope length is a multiple of 4
//   4   4   iteration count, big-endian
//   8   16  salt
//   24  12  nonce
//   36  n   AES-256-GCM ciphertext of the text in UTF-8 (n may be 0)
//   36+n 16 GCM tag
//   52+n    fill zero bytes
//
// The key is PBKDF2-HMAC-SHA256 of the UTF-8 password over the salt, 32
// bytes; the associated data is the whole header (bytes 0..35).

export const ENVELOPE_VERSION = 1;
export const KDF_PBKDF2_HMAC_SHA256 = 1;
export const CIPHER_AES_256_GCM = 1;

export const VERSION_OFFSET = 0;
export const KDF_OFFSET = 1;
export const CIPHER_OFFSET = 2;
export const FILL_OFFSET = 3;
export const ITERATIONS_OFFSET = 4;
export const SALT_OFFSET = 8;
export const SALT_SIZE = 16;
export const NONCE_OFFSET = 24;
export const NONCE_SIZE = 12;
export const HEADER_SIZE = 36;
export const TAG_SIZE = 16;
export const MIN_ENVELOPE_SIZE = HEADER_SIZE + TAG_SIZE;
export const MAX_FILL = 3;
export const KEY_BITS = 256;

// Writers use this many iterations; readers accept the range below, whose
// upper bound keeps a crafted envelope from tying the page up for hours.
export const WRITE_ITERATIONS = 600000;
export const MIN_READ_ITERATIONS = 100000;
export const MAX_READ_ITERATIONS = 10000000;

export const MAX_TEXT_BYTES = 2 ** 30;

// Zero bytes after the tag for a text of `textBytes` bytes.
export const fillFor = (textBytes) => (4 - ((MIN_ENVELOPE_SIZE + textBytes) % 4)) % 4;
