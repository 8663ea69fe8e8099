// Sealing a text into a strong block, as the page's seal tab does it, apart
// from the page itself (opening the blocks of a received text is
// decrypt_run.mjs's). The Node tests drive it with a quick key derivation.

import { LONGEST_TEXT, STRONG_MODE_LETTER } from './block_rules.mjs';
import { frameBlock } from './armoured_block.mjs';
import { sealEnvelope } from './strong_envelope.mjs';
import { base64Encode } from './base64.mjs';
import { sealingPassword, sealPasswordProblem, isWholeText } from './password_rule.mjs';
import { webCrypto } from './web_crypto.mjs';

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
