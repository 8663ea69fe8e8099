import { test } from 'node:test';
import assert from 'node:assert/strict';
import { repairReceivedText } from '../../web/received_text.mjs';
import { readBlocks, hasBlock, delspace } from '../../web/armoured_block.mjs';
import { vectors } from './support.mjs';

const TABLE = vectors('received-forms.json');
const SOURCE = new Map(TABLE.blocks.map((b) => [b.name, b]));

// What any reader takes from the first block: the characters on the lines
// between the markers, provided a line break follows the start marker and
// comes before the end marker (spaces aside).
function bodyOfFirstBlock(received) {
  const text = delspace(received);
  const start = text.indexOf('(quiren_start)\r\n');
  const end = text.indexOf('\r\n(quiren_end)', start);
  if (start < 0 || end < 0) return '';
  return text.slice(start + 16, end).replace(/\r\n/g, '');
}

const printable = (s) => JSON.stringify(s);

// Every form of the shared table that reads: after the repair the reader
// finds its blocks, in order, exactly as in the blocks as written; a block
// as written comes back unchanged, and a second repair changes nothing.
test('every form of the shared table reads as its blocks', () => {
  const readable = TABLE.forms.filter((f) => f.expect === 'source');
  assert.ok(readable.length > 0);
  for (const form of readable) {
    const sources = form.sources.map((name) => SOURCE.get(name));
    const expected = sources.flatMap((b) => readBlocks(b.block));
    assert.equal(expected.length, sources.length, form.name);
    assert.ok(expected.every((item) => item.problem === null), form.name);
    const repaired = repairReceivedText(form.received);
    const what = `${form.name}: ${printable(repaired)}`;
    assert.ok(hasBlock(repaired), what);
    assert.deepEqual(readBlocks(repaired), expected, what);
    if (sources.length === 1) assert.equal(bodyOfFirstBlock(repaired), bodyOfFirstBlock(sources[0].block), what);
    if (form.untouched) assert.equal(printable(repaired), printable(form.received), what);
    assert.equal(printable(repairReceivedText(repaired)), printable(repaired), `${what}: a second repair`);
  }
});

// A damaged form stays damaged: the repair makes no block readable that
// was not written so.
test('every damaged form of the shared table stays damaged', () => {
  const damaged = TABLE.forms.filter((f) => f.expect === 'damaged');
  assert.ok(damaged.length > 0);
  for (const form of damaged) {
    const items = readBlocks(repairReceivedText(form.received));
    assert.ok(items.length > 0, form.name);
    assert.equal(items[0].problem, 'damaged', form.name);
  }
});

// The shared repair cases (tests/vectors/repair-cases.json), which the
// program's repair is held to as well.
test('blocks come back in the writer\'s form', () => {
  const { rewritten } = vectors('repair-cases.json');
  assert.ok(rewritten.length > 0);
  for (const c of rewritten) assert.equal(printable(repairReceivedText(c.received)), printable(c.repaired), c.name);
});

test('what the reader reads, and what it never reads, stays as it is', () => {
  const { untouched } = vectors('repair-cases.json');
  assert.ok(untouched.length > 0);
  for (const c of untouched) {
    assert.equal(printable(repairReceivedText(c.received)), printable(c.received), `${c.why}: ${printable(c.received)}`);
  }
});

test('large texts take linear time', () => {
  const quotedBlock = '> (quiren_start)\r\n> AGg2Qs>AAl~Ou\r\n> Wc@Kv\r\n> (quiren_end)\r\n> \r\n';
  const block = '(quiren_start)\r\nAGg2Qs>AAl~Ou\r\nWc@Kv\r\n(quiren_end)\r\n> \r\n';
  const n = 50000;
  assert.equal(repairReceivedText(quotedBlock.repeat(n)), block.repeat(n));
  const markers = '> (quiren_start)\r\n'.repeat(200000);
  assert.equal(repairReceivedText(markers), markers);
  const oneLine = '(quiren_start) '.repeat(200000) + '(quiren_end)';
  assert.equal(repairReceivedText(oneLine).length, oneLine.length - 200000 + 4);
});
