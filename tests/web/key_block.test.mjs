// The page writes and reads key blocks, safety digits and secret key texts
// as the program does, from the shared vectors
// (tests/vectors/key-blocks.json): every block written byte for byte from
// its key and name and read back, every case to its outcome whether framed
// or as bytes, each key's digits and public key, the secret key texts both
// ways and sealed under a passphrase; a key block in a received text is
// read with no text and no password.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readBlocks } from '../../web/armoured_block.mjs';
import { readKeyEnvelope, writeKeyEnvelope, frameKeyEnvelope } from '../../web/key_block.mjs';
import { keyNameToWrite } from '../../web/key_name.mjs';
import { safetyDigits } from '../../web/safety_digits.mjs';
import { secretKeyText, readSecretKeyText } from '../../web/secret_key_text.mjs';
import { readKeyFileText, openSealedKey, sealedKeyBlock, KEY_FILE_FORM } from '../../web/key_file.mjs';
import { sealEnvelopeWith } from '../../web/strong_envelope.mjs';
import { sealingPassword } from '../../web/password_rule.mjs';
import { runDecrypt, RUN_END } from '../../web/decrypt_run.mjs';
import { OUTCOME } from '../../web/outcome.mjs';
import { webCrypto } from '../../web/web_crypto.mjs';
import { fromHex, quickCrypto, toHex, vectors } from './support.mjs';

const TABLE = vectors('key-blocks.json');

// What the page makes of a framed key block: its reader's problem, or the
// envelope read whole.
async function readFramed(block) {
  const [item] = readBlocks(block);
  if (item.problem) return { outcome: item.problem };
  assert.equal(item.kind, 'key');
  return readKeyEnvelope(item.envelope);
}

test('key blocks written byte for byte from their key and name, and read back', async () => {
  for (const b of TABLE.key_blocks) {
    const written = await writeKeyEnvelope(fromHex(b.public), b.holder_name_given);
    assert.equal(written.problem, null, b.name);
    assert.equal(toHex(written.envelope), b.envelope, b.name);
    assert.equal(frameKeyEnvelope(written.envelope, b.width), b.block, b.name);
    for (const read of [await readFramed(b.block), await readKeyEnvelope(fromHex(b.envelope))]) {
      assert.equal(read.outcome, OUTCOME.opened, b.name);
      assert.equal(toHex(read.publicKey), b.public, b.name);
      assert.equal(read.name, b.holder_name, b.name);
    }
    assert.equal(await safetyDigits(fromHex(b.public)), b.digits, b.name);
  }
});

test('every case of the shared vectors comes to its outcome, framed or as bytes', async () => {
  for (const c of TABLE.key_block_cases) {
    const framed = await readFramed(c.block);
    const bytes = await readKeyEnvelope(fromHex(c.envelope));
    assert.equal(framed.outcome, c.outcome, c.name);
    assert.equal(bytes.outcome, c.outcome, `${c.name}, as bytes`);
    if (c.outcome === OUTCOME.opened) {
      assert.equal(bytes.name, c.holder_name, c.name);
      assert.equal(toHex(bytes.publicKey), c.public, c.name);
    }
  }
});

test('each key\'s public key comes from its secret key, and its digits from the public key', async () => {
  for (const k of TABLE.keys) {
    assert.equal(toHex(await webCrypto.x25519PublicKey(fromHex(k.secret))), k.public, k.name);
    assert.equal(await safetyDigits(fromHex(k.public)), k.digits, k.name);
  }
});

test('names a writer refuses: forbidden characters, too long once in NFC, half a pair', () => {
  const cases = [
    ['Alice', null], ['', null], ['\u200E', 'forbidden_character'], ['a\nb', 'forbidden_character'],
    ['\u0085', 'forbidden_character'], ['\u2069', 'forbidden_character'], ['\u00A0\u2010\u202F\u206A', null],
    ['あ'.repeat(21), null], ['あ'.repeat(22), 'too_long'], ['e\u0301'.repeat(32), null], ['\uD83D', 'not_utf8'],
  ];
  for (const [name, problem] of cases) assert.equal(keyNameToWrite(name).problem, problem, JSON.stringify(name));
});

test('secret key texts both ways, every case to its outcome', () => {
  for (const t of TABLE.secret_key_texts) {
    assert.equal(secretKeyText(fromHex(t.secret)), t.text, t.name);
    assert.equal(toHex(readSecretKeyText(t.text)), t.secret, t.name);
  }
  for (const c of TABLE.secret_key_text_cases) {
    const key = readSecretKeyText(c.text);
    assert.equal(key === null ? OUTCOME.damaged : OUTCOME.opened, c.outcome, c.name);
    if (key) assert.equal(toHex(key), c.secret, c.name);
    // As a key file holds it: bare, or no key at all.
    assert.equal(readKeyFileText(`\uFEFF${c.text}`).form, key ? KEY_FILE_FORM.bare : KEY_FILE_FORM.none, c.name);
  }
});

test('sealed secret keys: sealed byte for byte, opened under the passphrase as received', async () => {
  for (const s of TABLE.sealed_secret_keys) {
    const sealed = await sealEnvelopeWith(webCrypto, new TextEncoder().encode(s.text), sealingPassword(s.passphrase),
      { iterations: s.iterations, salt: fromHex(s.salt), nonce: fromHex(s.nonce) });
    assert.equal(toHex(sealed.envelope), s.envelope, s.name);
    const quoted = `> ${s.block.split('\r\n').join('\n> ')}\n`;
    for (const [form, text] of [['as written', s.block], ['quoted in a reply', quoted], ['with a mark', `\uFEFF${s.block}`]]) {
      const file = readKeyFileText(text);
      assert.equal(file.form, KEY_FILE_FORM.sealed, `${s.name}, ${form}`);
      assert.equal(toHex(file.envelope), s.envelope, `${s.name}, ${form}`);
    }
    const opened = await openSealedKey(webCrypto, fromHex(s.envelope), s.passphrase);
    assert.deepEqual([opened.outcome, toHex(opened.key)], [OUTCOME.opened, s.secret], s.name);
    assert.equal((await openSealedKey(webCrypto, fromHex(s.envelope), `${s.passphrase}x`)).outcome,
      OUTCOME.wrong_password, s.name);
  }
});

test('a sealed key the page writes opens to the same key; other blocks hold no key', async () => {
  const provider = quickCrypto();
  const [alice] = TABLE.keys;
  const sealed = await sealedKeyBlock(provider, fromHex(alice.secret), 'パスフレーズ', 60);
  assert.equal(sealed.status, 'sealed');
  const file = readKeyFileText(sealed.block);
  const opened = await openSealedKey(provider, file.envelope, 'パスフレーズ');
  assert.equal(toHex(opened.key), alice.secret);

  // A strong block of another text opens, and holds no key.
  const other = await sealEnvelopeWith(provider, new TextEncoder().encode('not a key'), sealingPassword('pw'),
    { iterations: 100000, salt: new Uint8Array(16).fill(1), nonce: new Uint8Array(12).fill(2) });
  assert.equal((await openSealedKey(provider, other.envelope, 'pw')).outcome, OUTCOME.damaged);
  assert.deepEqual(readKeyFileText(TABLE.key_blocks[0].block), { form: KEY_FILE_FORM.none });
  assert.deepEqual(readKeyFileText('hello'), { form: KEY_FILE_FORM.none });
  const damaged = sealed.block.replace(/\r\n(.)/, '\r\n$1!');
  assert.deepEqual(readKeyFileText(damaged), { form: KEY_FILE_FORM.sealed, problem: OUTCOME.damaged });
});

test('a key block in a received text holds no text and asks for nothing', async () => {
  const [good] = TABLE.key_blocks;
  const provider = quickCrypto();
  let keyAsked = 0;
  const result = await runDecrypt(`Here is my key:\r\n\r\n${good.block}\r\n`, '', {
    provider, secretKey: async () => { keyAsked++; return null; },
  });
  assert.equal(result.end, RUN_END.done);
  assert.deepEqual(result.blocks, [{ index: 0, kind: 'key', outcome: OUTCOME.opened }]);
  assert.equal(provider.derivations, 0);
  assert.equal(keyAsked, 0);
});
