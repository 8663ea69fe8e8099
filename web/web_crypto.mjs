// The browser's own cryptography (WebCrypto) behind the calls the
// envelopes need: the strong envelope's four, and for the blocks of keys
// an AES key from given bytes and key_agreement.mjs's X25519, HKDF and
// SHA-256. Keys never leave WebCrypto: the derived key is not extractable.

import { KEY_BITS, TAG_SIZE } from './envelope_layout.mjs';
import { keyAgreement } from './key_agreement.mjs';

export const webCrypto = {
  ...keyAgreement,

  randomBytes(n) {
    const bytes = new Uint8Array(n);
    globalThis.crypto.getRandomValues(bytes);
    return bytes;
  },

  async deriveKey(passwordBytes, salt, iterations) {
    const subtle = globalThis.crypto.subtle;
    const material = await subtle.importKey('raw', passwordBytes, 'PBKDF2', false, ['deriveKey']);
    return subtle.deriveKey({ name: 'PBKDF2', hash: 'SHA-256', salt, iterations }, material,
      { name: 'AES-GCM', length: KEY_BITS }, false, ['encrypt', 'decrypt']);
  },

  // An AES-256-GCM key of the 32 bytes given (a text key, a slot's wrap key).
  aesKey(bytes) {
    return globalThis.crypto.subtle.importKey('raw', bytes, { name: 'AES-GCM', length: KEY_BITS }, false,
      ['encrypt', 'decrypt']);
  },

  // The ciphertext followed by the tag.
  async seal(key, nonce, aad, plaintext) {
    const sealed = await globalThis.crypto.subtle.encrypt(
      { name: 'AES-GCM', iv: nonce, additionalData: aad, tagLength: TAG_SIZE * 8 }, key, plaintext);
    return new Uint8Array(sealed);
  },

  // The plaintext, or null when the tag does not verify.
  async open(key, nonce, aad, sealed) {
    try {
      const plain = await globalThis.crypto.subtle.decrypt(
        { name: 'AES-GCM', iv: nonce, additionalData: aad, tagLength: TAG_SIZE * 8 }, key, sealed);
      return new Uint8Array(plain);
    } catch (e) {
      if (e && e.name === 'OperationError') return null;
      throw e;
    }
  },
};

// `provider` with one key derivation at a time: a derivation the user
// stopped still runs in WebCrypto, which cannot stop it, so the next one
// waits for it rather than running beside it.
export function oneDerivationAtATime(provider) {
  let last = Promise.resolve();
  return {
    ...provider,
    deriveKey(...args) {
      const mine = last.then(() => provider.deriveKey(...args));
      last = mine.catch(() => {});
      return mine;
    },
  };
}
