import { test } from 'node:test';
import assert from 'node:assert/strict';
import { repairReceivedText } from '../../web/received_text.mjs';
import { frameBlock, readBlocks, hasBlock, delspace } from '../../web/armoured_block.mjs';
import { base64Encode } from '../../web/base64.mjs';
import { receivedForms, receivedPairs } from './received_forms.mjs';

const ALPHABET = 'Gg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k\'a4PtVh!Bq1m&ULd)F8"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_Nw';
const armour = (n, offset = 0) => Array.from({ length: n }, (_, i) => ALPHABET[(offset + i) % ALPHABET.length]).join('');
const compatibleBlock = (check, mode, text, width) => frameBlock(mode, `${check}>${mode}${text}`, width);
const strongBlock = (bytes, width) => {
  const fill = (4 - (bytes % 4)) % 4;
  const e = new Uint8Array(52 + bytes + fill);
  e.set([1, 1, 1, fill, 0, 1, 0x86, 0xa0]);
  for (let i = 8; i < 52 + bytes; i++) e[i] = (i * 37) & 255;
  return frameBlock('C', base64Encode(e), width);
};

// What any reader takes from the first block: the characters on the lines
// between the markers, when the markers stand on lines of their own.
function bodyOfFirstBlock(received) {
  const text = delspace(received);
  const start = text.indexOf('(quiren_start)\r\n');
  const end = text.indexOf('\r\n(quiren_end)', start);
  if (start < 0 || end < 0 || (start > 0 && text[start - 1] !== '\n')) return '';
  return text.slice(start + 16, end).replace(/\r\n/g, '');
}

const printable = (s) => JSON.stringify(s);

const SENT = [
  ['compatible, long, width 60', compatibleBlock(armour(25), 'A', armour(160, 11), 60)],
  ['compatible, lines begin with > and |, width 11', compatibleBlock(armour(10, 5), 'B', armour(9, 3) + '|' + armour(20, 7), 11)],
  ['strong, width 60', strongBlock(140, 60)],
  ['strong, width 10', strongBlock(21, 10)],
];

test('every received form reads as sent', () => {
  for (const [name, block] of SENT) {
    const expected = readBlocks(block);
    assert.equal(expected.length, 1, name);
    assert.equal(expected[0].problem, 'none', name);
    const sentBody = bodyOfFirstBlock(block);
    for (const [form, text] of receivedForms(block)) {
      const repaired = repairReceivedText(text);
      const what = `${name}: ${form}: ${printable(repaired)}`;
      assert.equal(bodyOfFirstBlock(repaired), sentBody, what);
      assert.ok(hasBlock(repaired), what);
      assert.deepEqual(readBlocks(repaired), expected, what);
    }
    assert.equal(repairReceivedText(block), block, `${name}: as sent, untouched`);
  }
});

test('two blocks, one quoted or both full-width, read in order', () => {
  const first = compatibleBlock(armour(20), 'A', armour(90, 4), 30);
  const second = strongBlock(60, 60);
  for (const [form, text] of receivedPairs(first, second)) {
    assert.deepEqual(readBlocks(repairReceivedText(text)), [...readBlocks(first), ...readBlocks(second)], form);
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
