// What the page does with keys beyond the shared vectors: a key made in the
// page (its key block, digits and sealed secret key fit together), the
// secret key taken from a field as pasted or read from a file, key blocks
// read from a pasted mail with their digits, and a text sealed for keys from
// the user's key or from a one-off key.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { makeKey } from '../../web/new_key.mjs';
import { keyBlocksIn } from '../../web/received_keys.mjs';
import { secretKeyOfField, readKeyFileText, openSealedKey } from '../../web/key_file.mjs';
import { secretKeyText } from '../../web/secret_key_text.mjs';
import { sealTextForKeys } from '../../web/seal_text.mjs';
import { readBlocks } from '../../web/armoured_block.mjs';
import { readKeyEnvelope } from '../../web/key_block.mjs';
import { safetyDigits } from '../../web/safety_digits.mjs';
import { checkRecipientEnvelope } from '../../web/recipient_check.mjs';
import { runDecrypt } from '../../web/decrypt_run.mjs';
import { OUTCOME } from '../../web/outcome.mjs';
import { fromHex, quickCrypto, toHex, vectors } from './support.mjs';

const KEYS = vectors('key-blocks.json');
const PEOPLE = new Map(vectors('recipient-blocks.json').keys.map((k) => [k.name, k]));
const quote = (text) => `> ${text.split('\r\n').join('\n> ')}\n`;

test('a key made in the page: its block, digits and sealed secret key are one key', async () => {
  const provider = quickCrypto();
  const made = await makeKey('山田 花子', 'パスフレーズ 2026', 'パスフレーズ 2026', provider);
  assert.equal(made.outcome, 'made');
  const [item] = readBlocks(made.keyBlock);
  const read = await readKeyEnvelope(item.envelope);
  assert.deepEqual([read.outcome, read.name, toHex(read.publicKey)], [OUTCOME.opened, '山田 花子', toHex(made.publicKey)]);
  assert.equal(made.digits, await safetyDigits(made.publicKey));
  assert.match(made.digits, /^\d{5}( \d{5}){5}$/);
  const opened = await openSealedKey(provider, readKeyFileText(made.sealedSecret).envelope, 'パスフレーズ 2026');
  assert.equal(opened.outcome, OUTCOME.opened);
  assert.equal(toHex(await provider.x25519PublicKey(opened.key)), toHex(made.publicKey));
  const again = await makeKey('山田 花子', 'パスフレーズ 2026', 'パスフレーズ 2026', provider);
  assert.notEqual(toHex(again.publicKey), toHex(made.publicKey), 'a new key each time');
});

test('a key is not made from a name or passphrase a writer refuses', async () => {
  const cases = [
    ['a direction mark in the name', '\u202Eevil', 'pw', 'pw', 'name_forbidden'],
    ['a name over 64 bytes', 'あ'.repeat(22), 'pw', 'pw', 'name_too_long'],
    ['half a pair in the name', '\uD800', 'pw', 'pw', 'name_not_encodable'],
    ['no passphrase', 'a', '', '', 'empty_password'],
    ['a passphrase of 129 characters', 'a', 'x'.repeat(129), 'x'.repeat(129), 'password_too_long'],
    ['two passphrases', 'a', 'pw', 'pW', 'passwords_differ'],
  ];
  for (const [what, name, passphrase, confirmation, outcome] of cases) {
    assert.equal((await makeKey(name, passphrase, confirmation, quickCrypto())).outcome, outcome, what);
  }
  assert.equal((await makeKey('', 'pw', 'pw', quickCrypto())).outcome, 'made', 'the empty name');
});

test('the secret key of a field: bare or sealed, pasted or as a file holds it, or why not', async () => {
  const provider = quickCrypto();
  const alice = PEOPLE.get('alice');
  const line = secretKeyText(fromHex(alice.secret));
  const made = await makeKey('', 'pw', 'pw', provider);
  const sealedFile = readKeyFileText(made.sealedSecret);
  assert.equal(sealedFile.form, 'sealed');
  const damaged = made.sealedSecret.replace(/\r\n(.)/, '\r\n$1!');
  const cases = [
    ['the line', line, '', alice.secret],
    ['the line with blanks and line breaks around it', `  ${line}  \r\n\r\n`, 'ignored', alice.secret],
    ['the line after a byte order mark', `\uFEFF${line}\r\n`, '', alice.secret],
    ['sealed, quoted in a reply', quote(made.sealedSecret), 'pw', 'made'],
    ['sealed, no passphrase', made.sealedSecret, '', 'passphrase_needed'],
    ['sealed, a wrong passphrase', made.sealedSecret, 'pW', 'wrong_passphrase'],
    ['sealed, damaged', damaged, 'pw', 'damaged'],
    ['a key block', KEYS.key_blocks[0].block, 'pw', 'no_secret_key'],
    ['nothing', '', '', 'no_secret_key'],
    ['a line of another label', line.replace('KEY-1', 'KEY-2'), '', 'no_secret_key'],
  ];
  for (const [what, text, passphrase, expected] of cases) {
    const got = await secretKeyOfField(text, passphrase, provider);
    if (expected === 'made') assert.equal(toHex(await provider.x25519PublicKey(got.key)), toHex(made.publicKey), what);
    else if (/^[0-9a-f]{64}$/.test(expected)) assert.equal(toHex(got.key), expected, what);
    else assert.deepEqual(got, { problem: expected }, what);
  }
});

test('key blocks in a pasted mail: each one\'s name and digits, or the first that does not read', async () => {
  const [ascii, japanese] = KEYS.key_blocks;
  const mail = `Hi,\r\n\r\nmy key:\r\n${quote(ascii.block)}\r\nand my colleague's:\r\n${japanese.block}\r\n`;
  const found = await keyBlocksIn(mail);
  assert.equal(found.problem, null);
  assert.deepEqual(found.keys.map((k) => [k.name, k.digits, toHex(k.publicKey)]),
    [[ascii.holder_name, ascii.digits, ascii.public], [japanese.holder_name, japanese.digits, japanese.public]]);

  const checksum = KEYS.key_block_cases.find((c) => c.outcome === OUTCOME.damaged && c.name.includes('checksum'));
  const refused = KEYS.key_block_cases.find((c) => c.outcome === OUTCOME.refused_settings);
  const later = KEYS.key_block_cases.find((c) => c.outcome === OUTCOME.later_format);
  for (const [what, c, outcome] of [['damaged', checksum, OUTCOME.damaged], ['refused', refused, OUTCOME.refused_settings],
    ['later', later, OUTCOME.later_format]]) {
    const got = await keyBlocksIn(`${ascii.block}\r\n${c.block}\r\n${japanese.block}`);
    assert.equal(got.problem.outcome, outcome, what);
    assert.deepEqual(got.keys.map((k) => k.name), [ascii.holder_name], what);
  }
  // A strong block among them is passed over; nothing is no key.
  const strong = vectors('sealed-blocks.json').blocks[0].block;
  assert.deepEqual((await keyBlocksIn(`${strong}\r\n${ascii.block}`)).keys.map((k) => k.name), [ascii.holder_name]);
  assert.deepEqual(await keyBlocksIn('nothing here'), { keys: [], problem: null });
});

test('a text sealed for keys opens for each recipient and the writer, naming the writer or a one-off key', async () => {
  const provider = quickCrypto();
  const secretOf = (name) => fromHex(PEOPLE.get(name).secret);
  const publicOf = (name) => fromHex(PEOPLE.get(name).public);
  const text = '明日の資料です。\n😀';
  const open = async (block, name) => (await runDecrypt(block, '', { provider, secretKey: async () => secretOf(name) })).blocks[0];

  const fromAlice = await sealTextForKeys(text, [publicOf('bob'), publicOf('carol')], secretOf('alice'), 60, provider);
  assert.equal(fromAlice.outcome, 'sealed');
  for (const name of ['alice', 'bob', 'carol']) {
    const opened = await open(fromAlice.block, name);
    assert.equal(opened.text, '明日の資料です。\r\n😀', `${name}: CR LF, as the program writes texts`);
    assert.equal(toHex(opened.sender.publicKey), PEOPLE.get('alice').public, name);
  }
  assert.equal((await open(fromAlice.block, 'dave')).outcome, OUTCOME.not_for_this_key);

  const oneOff = await sealTextForKeys(text, [publicOf('bob')], null, 60, provider);
  const opened = await open(oneOff.block, 'bob');
  assert.equal(opened.outcome, OUTCOME.opened);
  const sender = toHex(opened.sender.publicKey);
  assert.ok(![...PEOPLE.values()].some((k) => k.public === sender), 'a sender nobody knows');
  assert.equal(checkRecipientEnvelope(readBlocks(oneOff.block)[0].envelope).count, 2, 'bob and the one-off key');

  assert.equal((await sealTextForKeys(text, [], null, 60, provider)).outcome, 'no_recipient');
  assert.equal((await sealTextForKeys('\uDC00', [publicOf('bob')], null, 60, provider)).outcome, 'text_not_encodable');
  assert.equal((await sealTextForKeys(text, [new Uint8Array(32)], null, 60, provider)).outcome, 'recipient_key_refused');
});
