// What the page's unit tests share: a quick key derivation, hex, the data.

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

export const fromHex = (hex) => Uint8Array.from(hex.match(/../g) ?? [], (h) => parseInt(h, 16));
export const toHex = (bytes) => Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('');

export const readJson = (relative) => JSON.parse(readFileSync(new URL(relative, import.meta.url), 'utf8'));
