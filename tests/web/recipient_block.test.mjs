// Recipient blocks both ways with the shared vectors
// (tests/vectors/recipient-blocks.json), as the program's tests read them:
// the page seals each block from the vectors' fixed inputs to exactly its
// bytes and framing; opens it with each reader's key to its text, sender
// and time, or to the outcome the vectors give; and comes to each case's
// outcome, framed (through the decrypt run) and as bytes. Then what the
// vectors cannot fix: the page's own sealing with fresh inputs, the writer
// added once, the slots shuffled, a refused recipient key.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { sealRecipientEnvelopeWith, sealRecipientEnvelope, shuffleSlotOrder, SEAL_STATUS } from '../../web/recipient_seal.mjs';
import { openRecipientEnvelope } from '../../web/recipient_open.mjs';
import { frameRecipientEnvelope, writeRecipientBlock } from '../../web/recipient_block.mjs';
import { checkRecipientEnvelope } from '../../web/recipient_check.mjs';
import { readBlocks } from '../../web/armoured_block.mjs';
import { runDecrypt, RUN_END } from '../../web/decrypt_run.mjs';
import { OUTCOME } from '../../web/outcome.mjs';
import { webCrypto } from '../../web/web_crypto.mjs';
import { fromHex, toHex, vectors } from './support.mjs';

const TABLE = vectors('recipient-blocks.json');
const KEYS = new Map(TABLE.keys.map((k) => [k.name, k]));
const secretOf = (name) => fromHex(KEYS.get(name).secret);
const publicOf = (name) => fromHex(KEYS.get(name).public);
const utf8 = (s) => new TextEncoder().encode(s);

// What the page makes of a framed block with `secret`: the decrypt run's one
// block, its sender in hex.
async function openFramed(block, secret) {
  const { blocks } = await runDecrypt(block, '', { provider: webCrypto, secretKey: async () => secret });
  assert.equal(blocks.length, 1);
  const [only] = blocks;
  if (!only.sender) return only;
  return { ...only, sender: { publicKey: toHex(only.sender.publicKey), writtenAt: only.sender.writtenAt } };
}

test('every block sealed from its fixed inputs to exactly its bytes and its framing', async () => {
  for (const b of TABLE.blocks) {
    const sealed = await sealRecipientEnvelopeWith(webCrypto, utf8(b.text), secretOf(b.sender),
      b.slot_order.map(publicOf), {
        ephemeralSecret: fromHex(b.ephemeral_secret), textKey: fromHex(b.text_key), nonce: fromHex(b.nonce),
        writtenAt: b.written_at,
      });
    assert.equal(sealed.status, SEAL_STATUS.sealed, b.name);
    assert.equal(toHex(sealed.envelope), b.envelope, b.name);
    assert.equal(frameRecipientEnvelope(sealed.envelope, b.width), b.block, b.name);
    assert.deepEqual(b.recipients, b.slot_order.map((name) => KEYS.get(name).public), b.name);
  }
});

test('every block opens for each reader as the vectors say: the text, its sender and time, or not for this key', async () => {
  for (const b of TABLE.blocks) {
    for (const read of b.reads) {
      const what = `${b.name}, read by ${read.key}`;
      const opened = await openRecipientEnvelope(webCrypto, fromHex(b.envelope), secretOf(read.key));
      const framed = await openFramed(b.block, secretOf(read.key));
      assert.equal(opened.outcome, read.outcome, what);
      assert.equal(framed.outcome, read.outcome, what);
      if (read.outcome === OUTCOME.opened) {
        assert.equal(opened.text, b.text, what);
        assert.deepEqual([toHex(opened.sender.publicKey), opened.sender.writtenAt], [b.sender_public, b.written_at], what);
        assert.deepEqual(framed, {
          index: 0, kind: 'recipient', outcome: OUTCOME.opened, text: b.text,
          sender: { publicKey: b.sender_public, writtenAt: b.written_at },
        }, what);
      } else {
        assert.equal(opened.text, undefined, what);
        assert.equal(framed.text, undefined, what);
      }
    }
  }
});

test('every case comes to its outcome for each reader, framed and as bytes, with no text', async () => {
  for (const c of TABLE.cases) {
    for (const read of c.reads) {
      const what = `${c.name}, read by ${read.key}`;
      const framed = await openFramed(c.block, secretOf(read.key));
      assert.equal(framed.outcome, read.outcome, what);
      if (c.envelope !== null) {
        const opened = await openRecipientEnvelope(webCrypto, fromHex(c.envelope), secretOf(read.key));
        assert.equal(opened.outcome, read.outcome, `${what}, as bytes`);
        if (read.outcome !== OUTCOME.opened) assert.equal(opened.text, undefined, what);
      } else {
        assert.equal(readBlocks(c.block)[0].problem, OUTCOME.damaged, what);
      }
      if (read.outcome !== OUTCOME.opened) assert.equal(framed.text, undefined, what);
    }
  }
});

test('the page\'s own sealing: fresh inputs each time, the writer once among the recipients', async () => {
  const text = '明日の資料です。\r\n😀';
  const to = [publicOf('bob'), publicOf('carol'), publicOf('bob')];
  const first = await sealRecipientEnvelope(webCrypto, utf8(text), secretOf('alice'), to);
  const second = await sealRecipientEnvelope(webCrypto, utf8(text), secretOf('alice'), to);
  assert.equal(first.status, SEAL_STATUS.sealed);
  assert.notEqual(toHex(first.envelope), toHex(second.envelope));
  const parts = checkRecipientEnvelope(first.envelope);
  assert.equal(parts.count, 3, 'bob, carol and the writer, each once');
  assert.equal(toHex(parts.sender), KEYS.get('alice').public);
  assert.ok(Math.abs(parts.writtenAt - Date.now() / 1000) < 60, 'written now');
  for (const [name, outcome] of [['alice', OUTCOME.opened], ['bob', OUTCOME.opened], ['carol', OUTCOME.opened],
    ['dave', OUTCOME.not_for_this_key]]) {
    const opened = await openRecipientEnvelope(webCrypto, first.envelope, secretOf(name));
    assert.equal(opened.outcome, outcome, name);
    if (outcome === OUTCOME.opened) assert.equal(opened.text, text, name);
  }
  const block = await writeRecipientBlock(webCrypto, utf8(text), secretOf('alice'), [publicOf('bob')], 40);
  assert.equal(block.status, SEAL_STATUS.sealed);
  assert.ok(block.block.split('\r\n').slice(1, -1).every((line) => line.length <= 40));
  assert.equal((await openFramed(block.block, secretOf('bob'))).text, text);
});

test('refused before anything is sealed: a key of low order, no recipient, too many, a text not UTF-8', async () => {
  const lowOrder = new Uint8Array(32);
  lowOrder[0] = 1;
  const members = TABLE.keys.filter((k) => k.name.startsWith('member')).map((k) => fromHex(k.public));
  const cases = [
    ['a recipient key of low order', utf8('x'), [publicOf('bob'), lowOrder], SEAL_STATUS.recipient_key_refused],
    ['the zero key', utf8('x'), [new Uint8Array(32)], SEAL_STATUS.recipient_key_refused],
    ['64 others and the writer', utf8('x'), [...members, publicOf('bob')], SEAL_STATUS.recipient_count],
    ['half a surrogate pair', Uint8Array.of(0xed, 0xa0, 0x80), [publicOf('bob')], SEAL_STATUS.text_not_utf8],
  ];
  assert.equal(members.length, 63);
  for (const [what, text, to, status] of cases) {
    assert.equal((await sealRecipientEnvelope(webCrypto, text, secretOf('alice'), to)).status, status, what);
  }
  // 63 others and the writer: the most there may be.
  assert.equal((await sealRecipientEnvelope(webCrypto, utf8('x'), secretOf('alice'), members)).status, SEAL_STATUS.sealed);
  const none = await sealRecipientEnvelopeWith(webCrypto, utf8('x'), secretOf('alice'), [], {});
  assert.equal(none.status, SEAL_STATUS.recipient_count);
});

test('the slots are shuffled with every order reachable, and a failing source seals nothing', async () => {
  const seen = new Set();
  for (let i = 0; i < 200 && seen.size < 6; i++) {
    const order = ['a', 'b', 'c'];
    assert.ok(shuffleSlotOrder(order));
    seen.add(order.join(''));
  }
  assert.equal(seen.size, 6);
  const failing = () => { throw new Error('no random source'); };
  assert.equal(shuffleSlotOrder(['a', 'b'], failing), false);
  const sealed = await sealRecipientEnvelope(webCrypto, utf8('x'), secretOf('alice'), [publicOf('bob')], failing);
  assert.equal(sealed.status, SEAL_STATUS.random_unavailable);
  const stuck = (numbers) => numbers.fill(0xffff);
  assert.equal(shuffleSlotOrder(['a', 'b', 'c'], stuck), false, 'only rejected numbers');
});

test('without a key, a readable recipient block needs one and the run goes on', async () => {
  const [b] = TABLE.blocks;
  const result = await runDecrypt(`${b.block}\r\n${b.block}`, '', { provider: webCrypto });
  assert.equal(result.end, RUN_END.done);
  assert.deepEqual(result.blocks.map((x) => x.outcome), [OUTCOME.needs_key, OUTCOME.needs_key]);
});
