// A public key's safety digits: six groups of five digits that two people
// compare once, by phone or in person, to know that a key is the one its
// holder made ("97452 31774 64868 54053 48266 91028"). For a key P:
// h = SHA-256(DIGITS_LABEL ‖ P); group g is the 5 bytes h[5g..5g+4] as a
// big-endian number modulo 100000, with leading zeros (the program's
// block/keys/safety_digits.h).

import { DIGITS_LABEL, DIGIT_GROUPS } from './keys_layout.mjs';
import { webCrypto } from './web_crypto.mjs';

const GROUP_BYTES = 5;

export async function safetyDigits(publicKey, provider = webCrypto) {
  const label = new TextEncoder().encode(DIGITS_LABEL);
  const hashed = new Uint8Array(label.length + publicKey.length);
  hashed.set(label);
  hashed.set(publicKey, label.length);
  const h = await provider.sha256(hashed);
  const groups = [];
  for (let g = 0; g < DIGIT_GROUPS; g++) {
    // 40 bits: exact in a double.
    let n = 0;
    for (let k = 0; k < GROUP_BYTES; k++) n = n * 256 + h[GROUP_BYTES * g + k];
    groups.push(String(n % 100000).padStart(5, '0'));
  }
  return groups.join(' ');
}
