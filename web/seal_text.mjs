// Sealing a text, as the page's seal tab does it, apart from the page
// itself (opening the blocks of a received text is decrypt_run.mjs's):
// into a strong block under a password, or into a recipient block for
// people's keys. The Node tests drive it with a quick key derivation.

import { LONGEST_TEXT, STRONG_MODE_LETTER } from './block_rules.mjs';
import { frameBlock } from './armoured_block.mjs';
import { sealEnvelope } from './strong_envelope.mjs';
import { base64Encode } from './base64.mjs';
import { sealingPassword, sealPasswordProblem, isWholeText } from './password_rule.mjs';
import { webCrypto } from './web_crypto.mjs';
import { writeRecipientBlock } from './recipient_block.mjs';
import { SEAL_STATUS } from './recipient_seal.mjs';

const encoder = new TextEncoder();

// Line breaks as the program's texts have them on Windows: CR LF.
export const windowsLineBreaks = (text) => text.replace(/\r\n|\r|\n/g, '\r\n');

// { outcome: 'sealed', block } or { outcome: <problem> }, the problem one of
// 'empty_password', 'password_too_long', 'password_not_encodable',
// 'passwords_differ', 'text_not_encodable', 'text_too_long',
// 'random_unavailable', 'crypto_failed'.
export async function sealText(text, password, confirmation, width, provider = webCrypto) {
  const problem = sealPasswordProblem(password);
  if (problem) return { outcome: problem };
  if (confirmation !== password) return { outcome: 'passwords_differ' };
  if (!isWholeText(text)) return { outcome: 'text_not_encodable' };
  const textBytes = encoder.encode(windowsLineBreaks(text));
  if (textBytes.length > LONGEST_TEXT) return { outcome: 'text_too_long' };
  const passwordBytes = sealingPassword(password);
  let sealed;
  try {
    sealed = await sealEnvelope(provider, textBytes, passwordBytes);
  } finally {
    passwordBytes.fill(0);
    textBytes.fill(0);
  }
  if (sealed.status !== 'sealed') return { outcome: sealed.status };
  return { outcome: 'sealed', block: frameBlock(STRONG_MODE_LETTER, base64Encode(sealed.envelope), width) };
}

// What each refusal of a recipient block is called in the seal tab.
const KEYS_PROBLEM = {
  [SEAL_STATUS.recipient_count]: 'too_many_recipients',
  [SEAL_STATUS.recipient_key_refused]: 'recipient_key_refused',
  [SEAL_STATUS.text_too_long]: 'text_too_long',
  [SEAL_STATUS.text_not_utf8]: 'text_not_encodable',
  [SEAL_STATUS.random_unavailable]: 'random_unavailable',
  [SEAL_STATUS.crypto_failed]: 'crypto_failed',
};

// { outcome: 'sealed', block } or { outcome: <problem> }: the text sealed
// for `recipients` (public keys) and the writer, whose secret key is
// `senderSecret`; without one, a one-off key made here and wiped, so that
// the recipients see a sender nobody knows. The problem is one of
// 'no_recipient', 'too_many_recipients', 'recipient_key_refused',
// 'text_not_encodable', 'text_too_long', 'random_unavailable',
// 'crypto_failed'.
export async function sealTextForKeys(text, recipients, senderSecret, width, provider = webCrypto) {
  if (recipients.length === 0) return { outcome: 'no_recipient' };
  if (!isWholeText(text)) return { outcome: 'text_not_encodable' };
  const textBytes = encoder.encode(windowsLineBreaks(text));
  if (textBytes.length > LONGEST_TEXT) return { outcome: 'text_too_long' };
  let oneOff = null;
  try {
    if (!senderSecret) {
      try {
        oneOff = (await provider.generateX25519KeyPair()).secret;
      } catch {
        return { outcome: 'random_unavailable' };
      }
    }
    const written = await writeRecipientBlock(provider, textBytes, senderSecret ?? oneOff, recipients, width);
    if (written.status !== SEAL_STATUS.sealed) return { outcome: KEYS_PROBLEM[written.status] };
    return { outcome: 'sealed', block: written.block };
  } finally {
    oneOff?.fill(0);
    textBytes.fill(0);
  }
}
