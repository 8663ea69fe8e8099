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
    assert.ok(expected.every((item) => item.problem === 'none'), form.name);
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
test('every damaged form of the shared table stays unreadable', () => {
  const damaged = TABLE.forms.filter((f) => f.expect === 'damaged');
  assert.ok(damaged.length > 0);
  for (const form of damaged) {
    const items = readBlocks(repairReceivedText(form.received));
    assert.ok(items.length > 0, form.name);
    assert.equal(items[0].problem, 'unreadable', form.name);
  }
});

test('blocks come back in the writer\'s form', () => {
  const cases = [
    ['one level', 'hi\r\n> (quiren_start)\r\n> AGg2Qs>A#3\r\n> (quiren_end)\r\n> bye',
      'hi\r\n(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)\r\n> bye'],
    ['body line starting with the separator', '> (quiren_start)\r\n> AGGGG\r\n> >A#3\r\n> (quiren_end)',
      '(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)'],
    ['separator right after an unspaced prefix', '>(quiren_start)\r\n>AGGGG\r\n>>A#3\r\n>(quiren_end)',
      '(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)'],
    ['two levels, spacing differs', '>> (quiren_start)\r\n> > AGg\r\n>>(quiren_end)', '(quiren_start)\r\nAGg\r\n(quiren_end)'],
    ['bar prefix keeps a bar of the body', '| (quiren_start)\r\n| AGg\r\n| |>A\r\n| (quiren_end)',
      '(quiren_start)\r\nAGg\r\n|>A\r\n(quiren_end)'],
    ['each block its own prefix',
      '> (quiren_start)\r\n> AG\r\n> (quiren_end)\r\n| (quiren_start)\r\n| BG\r\n| (quiren_end)',
      '(quiren_start)\r\nAG\r\n(quiren_end)\r\n(quiren_start)\r\nBG\r\n(quiren_end)'],
    ['a line without the quote keeps its characters', '> (quiren_start)\r\n> AG\r\ng2>\r\n> (quiren_end)',
      '(quiren_start)\r\nAG\r\ng2>\r\n(quiren_end)'],
    ['line breaks of the block only', 'a\nb\n(quiren_start)\nAG>A\r(quiren_end)\nc\rd',
      'a\nb\n(quiren_start)\r\nAG>A\r\n(quiren_end)\nc\rd'],
    ['blanks, and the lines they leave empty',
      '\t(quiren_start)\u3000\r\n\r\n\tA G\u00A0g\t>\r\n\t\u3000\r\n\t(quiren_end)', '(quiren_start)\r\nAGg>\r\n(quiren_end)'],
    ['tab inside a body line the reader read', '(quiren_start)\r\nAGg\t2>A\r\n(quiren_end)',
      '(quiren_start)\r\nAGg2>A\r\n(quiren_end)'],
    ['whole block on one line', '(quiren_start) AGg2Qs>A#3 Al~ (quiren_end) thanks',
      '(quiren_start)\r\nAGg2Qs>A#3Al~\r\n(quiren_end) thanks'],
    ['one line, quoted', '> > (quiren_start) AGg2Qs>A#3 (quiren_end)', '(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)'],
    ['first and last body lines run into the markers', '> (quiren_start) AGg2\n> Qs>A#3 (quiren_end)',
      '(quiren_start)\r\nAGg2\r\nQs>A#3\r\n(quiren_end)'],
    ['a block after one on the same line', '(quiren_start) AG>A (quiren_end) (quiren_start) BG>B (quiren_end)',
      '(quiren_start)\r\nAG>A\r\n(quiren_end)(quiren_start)\r\nBG>B\r\n(quiren_end)'],
    ['start marker broken by a space, as the reader sees it',
      '> (quiren _start)\r\n> AG>A\r\n> (quiren_end)\r\n> (quiren_start)\r\n> BG>B\r\n> (quiren_end)',
      '(quiren _start)\r\nAG>A\r\n(quiren_end)\r\n(quiren_start)\r\nBG>B\r\n(quiren_end)'],
    ['other text before the end marker stays there', '> (quiren_start)\r\n> AG>A\r\n> 以上 (quiren_end)',
      '(quiren_start)\r\nAG>A\r\n以上 (quiren_end)'],
    ['mode letter C', '> (quiren_start)\n> CAQID\n> BAU\n> (quiren_end)', '(quiren_start)\r\nCAQID\r\nBAU\r\n(quiren_end)'],
    ['inserted characters inside the markers', '(quiren\u200B_start)\r\nCAQ\u00ADID\r\n(qui\u2060ren_end)',
      '(quiren_start)\r\nCAQID\r\n(quiren_end)'],
    ['full-width quote marks and markers', '＞　（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\r\n＞　ＡＧ＞Ａ\r\n＞　（ｑｕｉｒｅｎ＿ｅｎｄ）',
      '(quiren_start)\r\nAG>A\r\n(quiren_end)'],
    ['curly quotes in a compatible body, run into the marker line', '(quiren_start) AG\u2019>\u201DA (quiren_end)',
      '(quiren_start)\r\nAG\'>"A\r\n(quiren_end)'],
    ['curly quotes stay in a strong body', '> (quiren_start)\n> CAQ\u2019D\n> (quiren_end)',
      '(quiren_start)\r\nCAQ\u2019D\r\n(quiren_end)'],
  ];
  for (const [what, received, repaired] of cases) assert.equal(printable(repairReceivedText(received)), printable(repaired), what);
});

test('what the reader reads, and what it never reads, stays as it is', () => {
  const cases = [
    // read as they stand
    'x\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)',
    'see: (quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end) thanks',
    '  (quiren_start) \r\n A Gg2Qs>A #3 \r\n  Al~OuWcK\r\n  (quiren_end)',
    '(quiren_start)\r\nAGg2Qs>A#3Al~\r\nOu(quiren_end)',
    '(quiren_start)\nxB\r\nGg2Qs>A#3Al~\r\n(quiren_end)',
    '> (quiren_start) xyB\r\nGg2Qs>A#3Al~\r\n(quiren_end)',
    '> (quiren_start)\r\nAGg2Qs\r\n> >A#3Al\r\n(quiren_end)',
    '(quiren_start)\r\nAGg2Qs>A#3Al~\r\nOu\n(quiren_end)',
    // no start marker followed by an end marker
    '> (quiren_start)\r\n> AG>A\r\n',
    '> (quiren_end)\r\n> (quiren_start)\r\n> AG>A\r\n',
    '> (quiren_ start)\n> AG>A\n> (quiren_end)',
    '> (quiren_start)\n> AG>A\n> (quiren\u00A0_end)',
    // other text before the start marker on its line
    'see (quiren_start)\r\n> AGg\r\n> (quiren_end)',
    '> see (quiren_start)\n> AGg\n> (quiren_end)',
    'Re: (quiren_start) AG>A (quiren_end)',
    // after the start marker on its line, something that is no body
    '> (quiren_start) ← here\n> AG>A\n> (quiren_end)',
    // a broken end marker the blanks' removal would mend
    '> (quiren_start)\n> AG>A(quiren_\tend)x\n> (quiren_end)',
    // after a stray end marker the reader reads nothing
    '(quiren_start)\r\nAG>A\r\n(quiren_end)\r\n(quiren_end)\r\n> (quiren_start)\n> BG>B\n> (quiren_end)',
    // full-width and inserted characters outside any block
    'ＡＢＣ\u200B\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)\r\n“ok”',
  ];
  for (const text of cases) assert.equal(printable(repairReceivedText(text)), printable(text));
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
