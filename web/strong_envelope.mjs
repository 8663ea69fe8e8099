// Sealing a text into a strong envelope under a password, and opening it,
// with every check the program makes, in its order. See envelope_layout.mjs
// for the bytes. `provider` is webCrypto (web_crypto.mjs) unless a test
// passes another.

import {
  ENVELOPE_VERSION, KDF_PBKDF2_HMAC_SHA256, CIPHER_AES_256_GCM, VERSION_OFFSET, KDF_OFFSET, CIPHER_OFFSET,
  FILL_OFFSET, ITERATIONS_OFFSET, SALT_OFFSET, SALT_SIZE, NONCE_OFFSET, NONCE_SIZE, HEADER_SIZE, TAG_SIZE,
  MIN_ENVELOPE_SIZE, MAX_TEXT_BYTES, WRITE_ITERATIONS, fillFor,
} from './envelope_layout.mjs';
import { checkEnvelope } from './envelope_check.mjs';
import { OUTCOME } from './outcome.mjs';

const allZero = (bytes) => bytes.every((b) => b === 0);

function header(fill, { iterations, salt, nonce }) {
  const h = new Uint8Array(HEADER_SIZE);
  h[VERSION_OFFSET] = ENVELOPE_VERSION;
  h[KDF_OFFSET] = KDF_PBKDF2_HMAC_SHA256;
  h[CIPHER_OFFSET] = CIPHER_AES_256_GCM;
  h[FILL_OFFSET] = fill;
  for (let i = 0; i < 4; i++) h[ITERATIONS_OFFSET + i] = (iterations >>> (24 - 8 * i)) & 255;
  h.set(salt, SALT_OFFSET);
  h.set(nonce, NONCE_OFFSET);
  return h;
}

// { status: 'sealed', envelope } or { status: 'random_unavailable' |
// 'text_too_long' | 'crypto_failed' }. A fresh salt and nonce, the writers'
// iteration count.
export async function sealEnvelope(provider, textBytes, passwordBytes) {
  let salt;
  let nonce;
  try {
    salt = provider.randomBytes(SALT_SIZE);
    nonce = provider.randomBytes(NONCE_SIZE);
  } catch {
    return { status: 'random_unavailable' };
  }
  // A source that hands out zeros is broken: a fixed salt or nonce must
  // never reach an envelope.
  if (allZero(salt) || allZero(nonce)) return { status: 'random_unavailable' };
  return sealEnvelopeWith(provider, textBytes, passwordBytes, { iterations: WRITE_ITERATIONS, salt, nonce });
}

// For known answers and tests only: the parameters are written as given.
// Two texts sealed under one password with the same salt and nonce give
// both away.
export async function sealEnvelopeWith(provider, textBytes, passwordBytes, parameters) {
  if (textBytes.length > MAX_TEXT_BYTES) return { status: 'text_too_long' };
  const fill = fillFor(textBytes.length);
  const h = header(fill, parameters);
  let sealed;
  try {
    const key = await provider.deriveKey(passwordBytes, parameters.salt, parameters.iterations);
    sealed = await provider.seal(key, parameters.nonce, h, textBytes);
  } catch {
    return { status: 'crypto_failed' };
  }
  if (sealed.length !== textBytes.length + TAG_SIZE) return { status: 'crypto_failed' };
  const envelope = new Uint8Array(MIN_ENVELOPE_SIZE + textBytes.length + fill);
  envelope.set(h, 0);
  envelope.set(sealed, HEADER_SIZE);
  return { status: 'sealed', envelope };
}

// { outcome: 'opened', text } or { outcome } with later_format,
// refused_settings, damaged (malformed, or the text inside is not UTF-8),
// wrong_password (a wrong password and a changed envelope cannot be told
// apart) or failed. No key is derived for an envelope the checks refuse,
// and no text comes from one whose tag does not verify.
export async function openEnvelope(provider, envelope, passwordBytes) {
  const parts = checkEnvelope(envelope);
  if (parts.problem) return { outcome: parts.problem };
  let plain;
  try {
    const key = await provider.deriveKey(passwordBytes, parts.salt, parts.iterations);
    plain = await provider.open(key, parts.nonce, parts.header, parts.sealed);
  } catch {
    return { outcome: OUTCOME.failed };
  }
  if (plain === null) return { outcome: OUTCOME.wrong_password };
  let text;
  try {
    // A leading U+FEFF is part of the text: keep it.
    text = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(plain);
  } catch {
    return { outcome: OUTCOME.damaged };
  } finally {
    plain.fill(0);
  }
  return { outcome: OUTCOME.opened, text };
}
