// What the page does with what the user gave it, apart from the page
// itself: open every block of a received text, and seal a text into a
// strong block. The Node tests drive these with a quick key derivation.

import { LONGEST_TEXT, STRONG_MODE_LETTER } from './block_rules.mjs';
import { frameBlock, readBlocks, hasBlock } from './armoured_block.mjs';
import { repairReceivedText } from './received_text.mjs';
import { findBlockDamage } from './block_damage.mjs';
import { sealEnvelope, openEnvelope } from './strong_envelope.mjs';
import { base64Encode } from './base64.mjs';
import { passwordTries, sealingPassword, sealPasswordProblem, isWholeText } from './password_rule.mjs';
import { webCrypto } from './web_crypto.mjs';
import { OUTCOME } from './outcome.mjs';

const encoder = new TextEncoder();

// Opens one strong envelope: the NFC password first, the password as typed
// when the first fails and differs.
async function openStrong(provider, envelope, password) {
  const tries = passwordTries(password);
  let result;
  try {
    for (const bytes of tries) {
      result = await openEnvelope(provider, envelope, bytes);
      if (result.outcome !== OUTCOME.wrong_password) break;
    }
  } finally {
    for (const bytes of tries) bytes.fill(0);
  }
  return result;
}

// { outcome: 'no_block' } when the text holds no block; { outcome:
// 'no_password' } when a strong block waits for a password that is empty;
// else { outcome: 'blocks', results }, one result per block in order, each
// { outcome } (outcome.mjs), with `text` when opened and, for a damaged
// block, `damage` where that can be told (block_damage.mjs), in the
// received text. A compatible block is `compatible` and the reading goes
// on past it, as past a wrong password; any other outcome ends it.
export async function openReceived(received, password, provider = webCrypto) {
  const text = repairReceivedText(received);
  if (!hasBlock(text)) return { outcome: 'no_block' };
  const items = readBlocks(text);
  const needsPassword = items.some((item) => !item.problem && item.kind === 'strong');
  // A block that cannot be read says so before any password is asked.
  if (needsPassword && !items[0].problem && password.length === 0) return { outcome: 'no_password' };

  const results = [];
  let givenBack = 0;
  for (const [index, item] of items.entries()) {
    if (item.problem) {
      const damage = item.problem === OUTCOME.damaged ? findBlockDamage(received, index) : null;
      results.push(damage ? { outcome: item.problem, damage } : { outcome: item.problem });
      break;
    }
    if (item.kind !== 'strong') {
      results.push({ outcome: OUTCOME.compatible });
      continue;
    }
    const opened = await openStrong(provider, item.envelope, password);
    if (opened.outcome !== OUTCOME.opened) {
      results.push({ outcome: opened.outcome });
      if (opened.outcome === OUTCOME.wrong_password) continue;
      break;
    }
    givenBack += encoder.encode(opened.text).length;
    if (givenBack > LONGEST_TEXT) {
      results.push({ outcome: OUTCOME.over_limit });
      break;
    }
    results.push({ outcome: OUTCOME.opened, text: opened.text });
  }
  return { outcome: 'blocks', results };
}

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
