import { test } from 'node:test';
import assert from 'node:assert/strict';
import { sealEnvelope, sealEnvelopeWith, openEnvelope } from '../../web/strong_envelope.mjs';
import { checkEnvelope } from '../../web/envelope_check.mjs';
import { frameBlock, readBlocks } from '../../web/armoured_block.mjs';
import { base64Encode } from '../../web/base64.mjs';
import { webCrypto } from '../../web/web_crypto.mjs';
import { quickCrypto, fromHex, toHex, vectors } from './support.mjs';

const utf8 = (s) => new TextEncoder().encode(s);

const KNOWN = vectors('strong-envelopes.json');
const KNOWN_PARAMETERS = {
  iterations: KNOWN.parameters.iterations,
  salt: fromHex(KNOWN.parameters.salt),
  nonce: fromHex(KNOWN.parameters.nonce),
};
const known = (text) => KNOWN.envelopes.find((e) => e.text === text && e.password === 'pass');

test('the known answers: sealed byte for byte, opened, armoured to their blocks and read back', async () => {
  assert.ok(KNOWN.envelopes.length > 0);
  for (const k of KNOWN.envelopes) {
    const sealed = await sealEnvelopeWith(webCrypto, utf8(k.text), utf8(k.password), KNOWN_PARAMETERS);
    assert.equal(sealed.status, 'sealed', k.name);
    assert.equal(toHex(sealed.envelope), k.envelope, k.name);
    const opened = await openEnvelope(webCrypto, fromHex(k.envelope), utf8(k.password));
    assert.deepEqual(opened, { outcome: 'opened', text: k.text }, k.name);
    assert.equal(frameBlock('C', base64Encode(sealed.envelope), k.width), k.block, k.name);
    const items = readBlocks(k.block);
    assert.equal(items.length, 1, k.name);
    assert.equal(toHex(items[0].envelope), k.envelope, k.name);
  }
});

// The known answer for "テスト" under "pass" with one field changed.
const changed = (change) => {
  const e = fromHex(known('テスト').envelope);
  change(e);
  return e;
};
const withIterations = (n) => (e) => new DataView(e.buffer).setUint32(4, n);

test('every refusal, in the order the program makes them, before any key is derived', async () => {
  const refusals = [
    ['empty', new Uint8Array(0), 'damaged'],
    ['version 2, one byte', Uint8Array.of(2), 'later_format'],
    ['version 2, any length', changed((e) => { e[0] = 2; }), 'later_format'],
    ['version 0', changed((e) => { e[0] = 0; }), 'later_format'],
    ['another key derivation, two bytes', Uint8Array.of(1, 2), 'refused_settings'],
    ['another key derivation', changed((e) => { e[1] = 2; }), 'refused_settings'],
    ['another cipher', changed((e) => { e[2] = 2; }), 'refused_settings'],
    ['another cipher and too short', Uint8Array.of(1, 1, 9, 0), 'refused_settings'],
    ['version 1, too short', fromHex(known('').envelope).subarray(0, 48), 'damaged'],
    ['too short before the round count counts', changed(withIterations(1)).subarray(0, 48), 'damaged'],
    ['99,999 rounds', changed(withIterations(99999)), 'refused_settings'],
    ['10,000,001 rounds', changed(withIterations(10000001)), 'refused_settings'],
    ['rounds refused before a bad fill', changed((e) => { withIterations(0)(e); e[3] = 9; }), 'refused_settings'],
    ['fill 4', changed((e) => { e[3] = 4; }), 'damaged'],
    ['fill that is not zero', changed((e) => { e[e.length - 1] = 1; }), 'damaged'],
    ['a length that is not a multiple of 4', fromHex(known('テスト').envelope).subarray(0, 63), 'damaged'],
    ['more fill than the envelope holds', changed((e) => { e[3] = 3; }).subarray(0, 52), 'damaged'],
  ];
  for (const [what, envelope, status] of refusals) {
    assert.equal(checkEnvelope(envelope).problem, status, what);
    const provider = quickCrypto();
    assert.deepEqual(await openEnvelope(provider, envelope, utf8('pass')), { outcome: status }, what);
    assert.equal(provider.derivations, 0, `${what}: no key derived`);
  }
  for (const n of [100000, 10000000]) assert.equal(checkEnvelope(changed(withIterations(n))).problem, null, `${n} rounds`);
});

test('a wrong password or any changed byte never gives text', async () => {
  const e = fromHex(known('テスト').envelope);
  const cases = [
    ['a wrong password', e, 'pas'],
    ['a byte of the text', changed((x) => { x[36] ^= 1; }), 'pass'],
    ['a byte of the tag', changed((x) => { x[60] ^= 0x80; }), 'pass'],
    ['a byte of the salt', changed((x) => { x[13] ^= 1; }), 'pass'],
    ['a byte of the nonce', changed((x) => { x[30] ^= 1; }), 'pass'],
    ['the round count, still in bounds', changed(withIterations(100001)), 'pass'],
    ['the fill count, over zero bytes', changed((x) => { x[3] = 2; }), 'pass'],
  ];
  for (const [what, envelope, password] of cases) {
    assert.deepEqual(await openEnvelope(webCrypto, envelope, utf8(password)), { outcome: 'wrong_password' }, what);
  }
});

test('the text comes back exactly: a leading BOM, lone line breaks; text that is not UTF-8 is damaged', async () => {
  const provider = quickCrypto();
  for (const text of ['\ufeffBOM', 'a\nb\rc\r\n', '😀'.repeat(3), 'x'.repeat(20480)]) {
    const sealed = await sealEnvelope(provider, utf8(text), utf8('pw'));
    assert.deepEqual(await openEnvelope(provider, sealed.envelope, utf8('pw')), { outcome: 'opened', text });
  }
  const notUtf8 = await sealEnvelope(provider, Uint8Array.of(0x41, 0xff, 0x42), utf8('pw'));
  assert.deepEqual(await openEnvelope(provider, notUtf8.envelope, utf8('pw')), { outcome: 'damaged' });
});

test('sealing: the writers\' rounds, fresh salt and nonce, and never a zero one', async () => {
  const provider = quickCrypto();
  const a = (await sealEnvelope(provider, utf8('x'), utf8('pw'))).envelope;
  const b = (await sealEnvelope(provider, utf8('x'), utf8('pw'))).envelope;
  assert.equal(checkEnvelope(a).iterations, 600000);
  assert.notEqual(toHex(a.subarray(8, 36)), toHex(b.subarray(8, 36)));
  assert.equal(a.length % 4, 0);
  const zeros = { ...provider, randomBytes: (n) => new Uint8Array(n) };
  assert.deepEqual(await sealEnvelope(zeros, utf8('x'), utf8('pw')), { status: 'random_unavailable' });
  const broken = { ...provider, randomBytes: () => { throw new Error('no source'); } };
  assert.deepEqual(await sealEnvelope(broken, utf8('x'), utf8('pw')), { status: 'random_unavailable' });
  const failing = { ...provider, deriveKey: async () => { throw new Error('refused'); } };
  assert.deepEqual(await sealEnvelope(failing, utf8('x'), utf8('pw')), { status: 'crypto_failed' });
});
