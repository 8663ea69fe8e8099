// The page reads key blocks as the program does, from the shared vectors
// (tests/vectors/key-blocks.json): every block to its key and name, every
// case to its outcome, whether framed or as bytes; and a key block in a
// received text is read with no text and no password.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readBlocks } from '../../web/armoured_block.mjs';
import { readKeyEnvelope } from '../../web/key_block.mjs';
import { runDecrypt, RUN_END } from '../../web/decrypt_run.mjs';
import { OUTCOME } from '../../web/outcome.mjs';
import { fromHex, quickCrypto, toHex, vectors } from './support.mjs';

// What the page makes of a framed key block: its reader's problem, or the
// envelope read whole.
async function readFramed(block) {
  const [item] = readBlocks(block);
  if (item.problem) return { outcome: item.problem };
  assert.equal(item.kind, 'key');
  return readKeyEnvelope(item.envelope);
}

test('key blocks and the cases of the shared vectors', async () => {
  const table = vectors('key-blocks.json');
  for (const b of table.key_blocks) {
    for (const read of [await readFramed(b.block), await readKeyEnvelope(fromHex(b.envelope))]) {
      assert.equal(read.outcome, OUTCOME.opened, b.name);
      assert.equal(toHex(read.publicKey), b.public, b.name);
      assert.equal(read.name, b.holder_name, b.name);
    }
  }
  for (const c of table.key_block_cases) {
    const framed = await readFramed(c.block);
    const bytes = await readKeyEnvelope(fromHex(c.envelope));
    assert.equal(framed.outcome, c.outcome, c.name);
    assert.equal(bytes.outcome, c.outcome, `${c.name}, as bytes`);
    if (c.outcome === OUTCOME.opened) assert.equal(bytes.name, c.holder_name, c.name);
  }
});

test('a key block in a received text holds no text and asks for nothing', async () => {
  const [good] = vectors('key-blocks.json').key_blocks;
  const provider = quickCrypto();
  const result = await runDecrypt(`Here is my key:\r\n\r\n${good.block}\r\n`, '', { provider });
  assert.equal(result.end, RUN_END.done);
  assert.deepEqual(result.blocks, [{ index: 0, kind: 'key', outcome: OUTCOME.opened }]);
  assert.equal(provider.derivations, 0);
});
