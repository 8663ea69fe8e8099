import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openReceived, sealText } from '../../web/reader.mjs';
import { sealEnvelopeWith } from '../../web/strong_envelope.mjs';
import { frameBlock } from '../../web/armoured_block.mjs';
import { base64Encode } from '../../web/base64.mjs';
import { webCrypto } from '../../web/web_crypto.mjs';
import { quickCrypto, rememberingCrypto, fromHex, toHex, vectors } from './support.mjs';

const utf8 = (s) => new TextEncoder().encode(s);
const compatible = '(quiren_start)\r\nAGg2Qs>A#3Al~OuWcK\r\n(quiren_end)';

test('blocks sealed by an independent implementation open under the password as typed, and seal to the same bytes', async () => {
  const sealedBlocks = vectors('sealed-blocks.json').blocks;
  assert.ok(sealedBlocks.length > 0);
  for (const v of sealedBlocks) {
    const opened = await openReceived(v.block, v.password);
    assert.deepEqual(opened, { outcome: 'blocks', results: [{ outcome: 'opened', text: v.text }] }, v.name);
    assert.equal(v.password.normalize('NFC'), v.password_nfc, v.name);
    const params = { iterations: v.iterations, salt: fromHex(v.salt), nonce: fromHex(v.nonce) };
    const sealed = await sealEnvelopeWith(webCrypto, utf8(v.text), utf8(v.password_nfc), params);
    assert.equal(toHex(sealed.envelope), v.envelope, v.name);
    assert.equal(frameBlock('C', base64Encode(sealed.envelope), v.width), v.block, v.name);
  }
});

// Every form of the shared table, as the page opens it under the table's
// password: each strong block to exactly its text, each compatible one as
// the earlier format; a damaged form's first block refused, with no text
// and with the line the damage is on.
test('every form of the shared table opens as its blocks, or is refused when damaged', async () => {
  const table = vectors('received-forms.json');
  const source = new Map(table.blocks.map((b) => [b.name, b]));
  const provider = rememberingCrypto();
  for (const form of table.forms) {
    const sources = form.sources.map((name) => source.get(name));
    const opened = await openReceived(form.received, sources[0].password, provider);
    assert.equal(opened.outcome, 'blocks', form.name);
    if (form.expect === 'source') {
      const expected = sources.map((b) => (b.format === 'strong' ? { outcome: 'opened', text: b.text } : { outcome: 'compatible' }));
      assert.deepEqual(opened.results, expected, form.name);
    } else {
      assert.equal(opened.results[0].outcome, 'damaged', form.name);
      assert.equal(opened.results[0].damage.line, form.damage.line, form.name);
      assert.equal(opened.results[0].text, undefined, form.name);
    }
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
    assert.deepEqual(await openReceived(sealed.block, '合言葉', provider),
      { outcome: 'blocks', results: [{ outcome: 'opened', text: back }] }, what);
  }
});

test('one password on every system: NFC first, then as typed', async () => {
  const provider = quickCrypto();
  const composed = 'がぎぐパ';
  const decomposed = composed.normalize('NFD');
  const opens = async (block, password) => (await openReceived(block, password, provider)).results[0].outcome;
  const underDecomposed = (await sealText('x', decomposed, decomposed, 60, provider)).block;
  const underComposed = (await sealText('x', composed, composed, 60, provider)).block;
  assert.equal(await opens(underDecomposed, composed), 'opened');
  assert.equal(await opens(underComposed, decomposed), 'opened');
  // Sealed before the rule, from the decomposed password's own bytes.
  const env = await sealEnvelopeWith(provider, utf8('old'), utf8(decomposed),
    { iterations: 600000, salt: new Uint8Array(16).fill(1), nonce: new Uint8Array(12).fill(2) });
  const old = frameBlock('C', base64Encode(env.envelope), 60);
  provider.derivations = 0;
  assert.equal(await opens(old, decomposed), 'opened');
  assert.equal(provider.derivations, 2, 'NFC first, then as typed');
  provider.derivations = 0;
  assert.equal(await opens(old, 'wrong'), 'wrong_password');
  assert.equal(provider.derivations, 1, 'a password already in NFC is tried once');
});

test('what opening a received text gives, block by block', async () => {
  const provider = quickCrypto();
  const block = (await sealText('one', 'pw', 'pw', 60, provider)).block;
  const other = (await sealText('two', 'other', 'other', 30, provider)).block;
  const later = block.replace('\r\nC', '\r\nD');
  const damaged = block.replace(/\r\n(.)/, (m, c) => `\r\n${c}=`);
  const statuses = async (text, password = 'pw') => {
    const opened = await openReceived(text, password, provider);
    return opened.outcome === 'blocks' ? opened.results.map((r) => r.text ?? r.outcome) : opened.outcome;
  };
  const cases = [
    ['no block', 'hello', 'pw', 'no_block'],
    ['no password', block, '', 'no_password'],
    ['a wrong password', block, 'pw2', ['wrong_password']],
    ['each block under the one password', `${block}\r\n\r\n> ${other.replaceAll('\r\n', '\r\n> ')}`, 'pw', ['one', 'wrong_password']],
    ['a compatible block between strong ones', `${block}\r\n${compatible}\r\n${block}`, 'pw', ['one', 'compatible', 'one']],
    ['a compatible block needs no password', compatible, '', ['compatible']],
    ['a later format, before any password', later, '', ['later_format']],
    ['a later format ends the reading', `${block}\r\n${later}\r\n${block}`, 'pw', ['one', 'later_format']],
    ['a damaged block', damaged, '', ['damaged']],
  ];
  for (const [what, text, password, expected] of cases) assert.deepEqual(await statuses(text, password), expected, what);
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
