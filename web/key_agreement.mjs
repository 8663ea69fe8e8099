// X25519, HKDF-SHA256 and SHA-256 from the browser's WebCrypto, for the
// blocks of keys (the program takes them from libcrypto,
// block/strong/openssl_key_agreement.h). A secret key is its 32 bytes, as
// the secret key text holds it; WebCrypto takes it as PKCS#8, which holds
// those bytes after a fixed prefix. Every call imports what it needs and
// keeps nothing.

import { X25519_KEY_SIZE } from './keys_layout.mjs';

const subtle = () => globalThis.crypto.subtle;

// RFC 8410's PrivateKeyInfo for X25519, up to the 32 bytes of the key.
const PKCS8_PREFIX = Uint8Array.of(0x30, 0x2e, 0x02, 0x01, 0x00, 0x30, 0x05, 0x06, 0x03, 0x2b, 0x65, 0x6e,
  0x04, 0x22, 0x04, 0x20);

const X25519 = { name: 'X25519' };

function pkcs8Of(secret) {
  const der = new Uint8Array(PKCS8_PREFIX.length + X25519_KEY_SIZE);
  der.set(PKCS8_PREFIX);
  der.set(secret, PKCS8_PREFIX.length);
  return der;
}

async function importSecret(secret, extractable) {
  if (secret.length !== X25519_KEY_SIZE) throw new RangeError('an X25519 secret key is 32 bytes');
  const der = pkcs8Of(secret);
  try {
    return await subtle().importKey('pkcs8', der, X25519, extractable, ['deriveBits']);
  } finally {
    der.fill(0);
  }
}

const base64UrlBytes = (text) => Uint8Array.from(atob(text.replaceAll('-', '+').replaceAll('_', '/')),
  (c) => c.charCodeAt(0));

const allZero = (bytes) => bytes.every((b) => b === 0);

export const keyAgreement = {
  // { secret, publicKey }, fresh from the browser's random source.
  async generateX25519KeyPair() {
    const pair = await subtle().generateKey(X25519, true, ['deriveBits']);
    const der = new Uint8Array(await subtle().exportKey('pkcs8', pair.privateKey));
    try {
      const prefix = der.subarray(0, PKCS8_PREFIX.length);
      if (der.length !== PKCS8_PREFIX.length + X25519_KEY_SIZE || !prefix.every((b, i) => b === PKCS8_PREFIX[i])) {
        throw new Error('the browser exported an X25519 key in a form this page does not know');
      }
      const secret = der.slice(PKCS8_PREFIX.length);
      const publicKey = new Uint8Array(await subtle().exportKey('raw', pair.publicKey));
      return { secret, publicKey };
    } finally {
      der.fill(0);
    }
  },

  // The public key of a secret key (X25519 of the base point).
  async x25519PublicKey(secret) {
    const key = await importSecret(secret, true);
    const jwk = await subtle().exportKey('jwk', key);
    const publicKey = base64UrlBytes(jwk.x);
    jwk.d = '';
    if (publicKey.length !== X25519_KEY_SIZE) throw new Error('the browser gave a public key of another size');
    return publicKey;
  },

  // X25519 of a secret key and a peer's public key: { status: 'agreed',
  // shared } or { status: 'all_zero' } (a peer key of low order: WebCrypto
  // refuses the all-zero result with an OperationError, which is the only
  // error it gives there). Other failures throw.
  async x25519Agree(secret, peerPublic) {
    const own = await importSecret(secret, false);
    const peer = await subtle().importKey('raw', peerPublic, X25519, true, []);
    let shared;
    try {
      shared = new Uint8Array(await subtle().deriveBits({ name: 'X25519', public: peer }, own, 8 * X25519_KEY_SIZE));
    } catch (e) {
      if (e && e.name === 'OperationError') return { status: 'all_zero' };
      throw e;
    }
    if (allZero(shared)) return { status: 'all_zero' };
    return { status: 'agreed', shared };
  },

  async hkdfSha256(inputKeyMaterial, salt, info, length) {
    const material = await subtle().importKey('raw', inputKeyMaterial, 'HKDF', false, ['deriveBits']);
    return new Uint8Array(await subtle().deriveBits({ name: 'HKDF', hash: 'SHA-256', salt, info }, material, 8 * length));
  },

  async sha256(data) {
    return new Uint8Array(await subtle().digest('SHA-256', data));
  },
};
