import { test } from 'node:test';
import assert from 'node:assert/strict';
import { sealText } from '../../web/seal_text.mjs';
import { runDecrypt } from '../../web/decrypt_run.mjs';
import { sealEnvelopeWith } from '../../web/strong_envelope.mjs';
import { frameBlock } from '../../web/armoured_block.mjs';
import { base64Encode } from '../../web/base64.mjs';
import { webCrypto } from '../../web/web_crypto.mjs';
import { quickCrypto, fromHex, toHex, vectors } from './support.mjs';

const utf8 = (s) => new TextEncoder().encode(s);

test('blocks sealed by an independent implementation open under the password as typed, and seal to the same bytes', async () => {
  const sealedBlocks = vectors('sealed-blocks.json').blocks;
  assert.ok(sealedBlocks.length > 0);
  for (const v of sealedBlocks) {
    const opened = await runDecrypt(v.block, v.password);
    assert.deepEqual(opened, { end: 'done', blocks: [{ index: 0, kind: 'strong', outcome: 'opened', text: v.text }] }, v.name);
    assert.equal(v.password.normalize('NFC'), v.password_nfc, v.name);
    const params = { iterations: v.iterations, salt: fromHex(v.salt), nonce: fromHex(v.nonce) };
    const sealed = await sealEnvelopeWith(webCrypto, utf8(v.text), utf8(v.password_nfc), params);
    assert.equal(toHex(sealed.envelope), v.envelope, v.name);
    assert.equal(frameBlock('C', base64Encode(sealed.envelope), v.width), v.block, v.name);
  }
});

test('sealed by the page, opened by the page: texts exactly, line breaks as CR LF', async () => {
  const provider = quickCrypto();
  const texts = [
    ['Japanese with CR LF', '明日の会議は10時から。\r\n資料は共有フォルダーへ。', '明日の会議は10時から。\r\n資料は共有フォルダーへ。'],
    ['LF and CR become CR LF', 'a\nb\rc\r\n', 'a\r\nb\r\nc\r\n'],
    ['emoji', '😀🍣👍🏽', '😀🍣👍🏽'],
    ['the empty text', '', ''],
    ['20,480 characters', 'あ'.repeat(20480), 'あ'.repeat(20480)],
  ];
  for (const [what, text, back] of texts) {
    const sealed = await sealText(text, '合言葉', '合言葉', 60, provider);
    assert.equal(sealed.outcome, 'sealed', what);
    assert.match(sealed.block, /^\(quiren_start\)\r\nC[A-Za-z0-9+/\r\n]+\r\n\(quiren_end\)$/, what);
    assert.ok(sealed.block.split('\r\n').every((line) => line.length <= 60), what);
    assert.deepEqual(await runDecrypt(sealed.block, '合言葉', { provider }),
      { end: 'done', blocks: [{ index: 0, kind: 'strong', outcome: 'opened', text: back }] }, what);
  }
});

test('sealing refuses what the program refuses, and seals nothing then', async () => {
  const provider = quickCrypto();
  const cases = [
    ['an empty password', 'text', '', '', 'empty_password'],
    ['129 characters', 'text', 'a'.repeat(129), 'a'.repeat(129), 'password_too_long'],
    ['65 emoji are 130 code units', 'text', '😀'.repeat(65), '😀'.repeat(65), 'password_too_long'],
    ['half a surrogate pair in the password', 'text', 'ab\uD800', 'ab\uD800', 'password_not_encodable'],
    ['the confirmation differs', 'text', 'pw', 'pW', 'passwords_differ'],
    ['half a surrogate pair in the text', 'a\uDC00b', 'pw', 'pw', 'text_not_encodable'],
  ];
  for (const [what, text, password, confirmation, outcome] of cases) {
    assert.deepEqual(await sealText(text, password, confirmation, 60, provider), { outcome }, what);
  }
  assert.equal(provider.derivations, 0);
  for (const password of ['a'.repeat(128), '😀'.repeat(64)]) {
    assert.equal((await sealText('t', password, password, 60, provider)).outcome, 'sealed', `${password.length} code units`);
  }
});
