// A secret key as it is kept in a file, or pasted from one (the program's
// block/keys/key_file.h): the secret key text alone, or sealed under a
// passphrase as an ordinary strong block whose text is that line, so
// anything that opens strong blocks can restore a key. Read as received:
// a byte order mark, CR LF line breaks, a sealed block quoted in a reply
// or re-wrapped.

import { STRONG_MODE_LETTER } from './block_rules.mjs';
import { readBlocks, frameBlock } from './armoured_block.mjs';
import { base64Encode } from './base64.mjs';
import { hasReceivedStartMarker } from './received_blocks.mjs';
import { repairReceivedText } from './received_text.mjs';
import { secretKeyText, readSecretKeyText } from './secret_key_text.mjs';
import { openEnvelope, sealEnvelope } from './strong_envelope.mjs';
import { sealingPassword } from './password_rule.mjs';
import { OUTCOME } from './outcome.mjs';

// The largest key file read (block/keys/key_file.h): a sealed key quoted in
// a long mail fits.
export const LONGEST_KEY_FILE = 1 << 20;

export const KEY_FILE_FORM = Object.freeze({
  none: 'none',      // neither a secret key text nor a strong block
  bare: 'bare',      // the secret key text
  sealed: 'sealed',  // a block, to be opened under a passphrase
});

// What a key file's text holds: { form: 'bare', key }, { form: 'sealed',
// envelope } (readable), { form: 'sealed', problem } (what the strong block
// comes to: damaged, later_format, refused_settings) or { form: 'none' }.
// In a text holding a start marker, its first block (repaired as received
// texts are) is a sealed key when it is a strong block; any other block
// holds none.
export function readKeyFileText(text) {
  const withoutMark = text.startsWith('\uFEFF') ? text.slice(1) : text;
  if (!hasReceivedStartMarker(withoutMark)) {
    const key = readSecretKeyText(withoutMark);
    return key ? { form: KEY_FILE_FORM.bare, key } : { form: KEY_FILE_FORM.none };
  }
  const [first] = readBlocks(repairReceivedText(withoutMark));
  // A key block, say, is no secret key.
  if (!first || first.kind !== 'strong') return { form: KEY_FILE_FORM.none };
  if (first.problem) return { form: KEY_FILE_FORM.sealed, problem: first.problem };
  return { form: KEY_FILE_FORM.sealed, envelope: first.envelope };
}

// Opens a sealed key's envelope under the passphrase in NFC: { outcome:
// 'opened', key } or { outcome } with wrong_password (or changed), damaged
// (a block that opens to something other than a secret key text), the
// envelope's own problems, or failed.
export async function openSealedKey(provider, envelope, passphrase) {
  const bytes = sealingPassword(passphrase);
  let opened;
  try {
    opened = await openEnvelope(provider, envelope, bytes);
  } finally {
    bytes.fill(0);
  }
  if (opened.outcome !== OUTCOME.opened) return { outcome: opened.outcome };
  const key = readSecretKeyText(opened.text);
  if (!key) return { outcome: OUTCOME.damaged };
  return { outcome: OUTCOME.opened, key };
}

// The sealed key's block: the secret key text as a strong block under the
// passphrase in NFC, wrapped at `width`. { status: 'sealed', block } or
// { status } with strong_envelope.mjs's.
export async function sealedKeyBlock(provider, secret, passphrase, width) {
  const line = new TextEncoder().encode(secretKeyText(secret));
  const bytes = sealingPassword(passphrase);
  let sealed;
  try {
    sealed = await sealEnvelope(provider, line, bytes);
  } finally {
    line.fill(0);
    bytes.fill(0);
  }
  if (sealed.status !== 'sealed') return { status: sealed.status };
  return { status: 'sealed', block: frameBlock(STRONG_MODE_LETTER, base64Encode(sealed.envelope), width) };
}

// The secret key a field of the page holds (pasted, or read from a chosen
// file), opened under `passphrase` when sealed: { key } (32 bytes; the
// caller wipes them) or { problem } with 'no_secret_key', 'passphrase_needed',
// 'wrong_passphrase', 'damaged', 'later_format', 'refused_settings' or
// 'failed'. Blanks and line breaks around a pasted line are no part of it.
export async function secretKeyOfField(text, passphrase, provider) {
  const file = readKeyFileText(text.trim());
  if (file.form === KEY_FILE_FORM.bare) return { key: file.key };
  if (file.form === KEY_FILE_FORM.none) return { problem: 'no_secret_key' };
  if (file.problem) return { problem: file.problem };
  if (passphrase === '') return { problem: 'passphrase_needed' };
  const opened = await openSealedKey(provider, file.envelope, passphrase);
  if (opened.outcome === OUTCOME.opened) return { key: opened.key };
  return { problem: opened.outcome === OUTCOME.wrong_password ? 'wrong_passphrase' : opened.outcome };
}
