// The secret key text (the program's block/keys/secret_key_text.h): one
// ASCII line, SECRET_KEY_LABEL and then the 32-byte X25519 secret key in
// base64 without padding. Kept bare or sealed under a passphrase as an
// ordinary strong block (key_file.mjs). The public key is not stored:
// X25519 gives it from the secret key.

import { SECRET_KEY_LABEL, X25519_KEY_SIZE } from './keys_layout.mjs';
import { base64Encode, base64Decode } from './base64.mjs';

// The line, without a line break.
export const secretKeyText = (secret) => SECRET_KEY_LABEL + base64Encode(secret);

// The key (32 bytes) of the line a writer writes, one line break (CR LF or
// LF) after it allowed; null for anything else (another label, padding, a
// length other than 32 bytes, bits after the last byte).
export function readSecretKeyText(text) {
  let line = text;
  if (line.endsWith('\r\n')) line = line.slice(0, -2);
  else if (line.endsWith('\n')) line = line.slice(0, -1);
  if (!line.startsWith(SECRET_KEY_LABEL)) return null;
  const bytes = base64Decode(line.slice(SECRET_KEY_LABEL.length));
  if (bytes === null) return null;
  if (bytes.length === X25519_KEY_SIZE) return bytes;
  bytes.fill(0);
  return null;
}
