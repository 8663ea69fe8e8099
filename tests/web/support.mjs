// What the page's unit tests share: a quick key derivation and a
// remembering one, hex, the shared test vectors (tests/vectors/).

import { readFileSync } from 'node:fs';
import { webcrypto } from 'node:crypto';
import { webCrypto } from '../../web/web_crypto.mjs';

// Node 18 (Debian 12's) has WebCrypto only as a module; browsers and later
// Node versions have it as a global, where the page looks for it.
globalThis.crypto ??= webcrypto;

// WebCrypto with one PBKDF2 iteration whatever the envelope says, for tests
// of what surrounds the derivation; counts its derivations. Blocks it
// writes open only with it.
export function quickCrypto() {
  const quick = {
    ...webCrypto,
    derivations: 0,
    async deriveKey(passwordBytes, salt) {
      quick.derivations++;
      return webCrypto.deriveKey(passwordBytes, salt, 1);
    },
  };
  return quick;
}

// The real WebCrypto, deriving each key once: the shared vectors open many
// forms of the same few blocks.
export function rememberingCrypto() {
  const keys = new Map();
  return {
    ...webCrypto,
    deriveKey(passwordBytes, salt, iterations) {
      const id = `${toHex(passwordBytes)}/${toHex(salt)}/${iterations}`;
      if (!keys.has(id)) keys.set(id, webCrypto.deriveKey(passwordBytes, salt, iterations));
      return keys.get(id);
    },
  };
}

export const fromHex = (hex) => Uint8Array.from(hex.match(/../g) ?? [], (h) => parseInt(h, 16));
export const toHex = (bytes) => Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('');

// One of the shared vector files, by its name in tests/vectors/
// (README.md there describes the fields).
export const vectors = (name) => JSON.parse(readFileSync(new URL(`../vectors/${name}`, import.meta.url), 'utf8'));
