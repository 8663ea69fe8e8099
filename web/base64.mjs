// The armour of a strong block: standard base64 (A-Z a-z 0-9 + /) without
// padding. Decoding is strict: only the alphabet, no length that cannot
// come from whole bytes, and no stray bits in the last character, so that
// a changed character never decodes to the same bytes.

const ALPHABET = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/';
const DIGIT = new Int8Array(128).fill(-1);
for (let i = 0; i < ALPHABET.length; i++) DIGIT[ALPHABET.charCodeAt(i)] = i;

export function base64Encode(bytes) {
  const out = [];
  let i = 0;
  for (; i + 3 <= bytes.length; i += 3) {
    const v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out.push(ALPHABET[v >> 18], ALPHABET[(v >> 12) & 63], ALPHABET[(v >> 6) & 63], ALPHABET[v & 63]);
  }
  const rest = bytes.length - i;
  if (rest === 1) {
    const v = bytes[i] << 16;
    out.push(ALPHABET[v >> 18], ALPHABET[(v >> 12) & 63]);
  } else if (rest === 2) {
    const v = (bytes[i] << 16) | (bytes[i + 1] << 8);
    out.push(ALPHABET[v >> 18], ALPHABET[(v >> 12) & 63], ALPHABET[(v >> 6) & 63]);
  }
  return out.join('');
}

export function isBase64Character(c) {
  const code = c.charCodeAt(0);
  return code < 128 && DIGIT[code] >= 0;
}

// The bytes, or null for anything an encoder cannot have written.
export function base64Decode(text) {
  const tail = text.length % 4;
  if (tail === 1) return null;
  const digits = new Uint8Array(text.length);
  for (let i = 0; i < text.length; i++) {
    const code = text.charCodeAt(i);
    const d = code < 128 ? DIGIT[code] : -1;
    if (d < 0) return null;
    digits[i] = d;
  }
  const out = new Uint8Array(Math.floor(text.length / 4) * 3 + (tail === 0 ? 0 : tail - 1));
  let o = 0;
  let i = 0;
  for (; i + 4 <= text.length; i += 4) {
    const v = (digits[i] << 18) | (digits[i + 1] << 12) | (digits[i + 2] << 6) | digits[i + 3];
    out[o++] = v >> 16;
    out[o++] = (v >> 8) & 255;
    out[o++] = v & 255;
  }
  if (tail === 2) {
    if (digits[i + 1] & 15) return null;
    out[o] = (digits[i] << 2) | (digits[i + 1] >> 4);
  } else if (tail === 3) {
    if (digits[i + 2] & 3) return null;
    const v = (digits[i] << 10) | (digits[i + 1] << 4) | (digits[i + 2] >> 2);
    out[o++] = v >> 8;
    out[o] = v & 255;
  }
  return out;
}
