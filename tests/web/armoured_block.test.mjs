import { test } from 'node:test';
import assert from 'node:assert/strict';
import { frameBlock, readBlocks, hasBlock, wrapWidth } from '../../web/armoured_block.mjs';
import { base64Encode } from '../../web/base64.mjs';

const lines = (block) => block.split('\r\n');

test('frames like the program: the first line counts the mode letter, nothing after the end marker', () => {
  const payload = (n) => 'x'.repeat(n);
  assert.deepEqual(lines(frameBlock('C', payload(9), 10)), ['(quiren_start)', 'C' + payload(9), '(quiren_end)']);
  assert.deepEqual(lines(frameBlock('C', payload(10), 10)).map((l) => l.length), [14, 10, 1, 12]);
  assert.deepEqual(lines(frameBlock('C', payload(19), 10)).map((l) => l.length), [14, 10, 10, 12]);
  assert.deepEqual(lines(frameBlock('C', '', 60)), ['(quiren_start)', 'C', '(quiren_end)']);
  assert.equal(frameBlock('C', 'AB', 60), '(quiren_start)\r\nCAB\r\n(quiren_end)');
});

test('widths are whole numbers from 10 to 100, 60 when none', () => {
  const cases = [[9, 10], [10, 10], [100, 100], [101, 100], ['42', 42], ['42.7', 42], ['', 10], ['abc', 60], [-5, 10]];
  for (const [given, width] of cases) assert.equal(wrapWidth(given), width, `width ${given}`);
});

// An envelope the reader accepts: version 1, 100,000 iterations, no text.
const envelope = (change = () => {}) => {
  const e = new Uint8Array(52);
  e.set([1, 1, 1, 0, 0, 1, 0x86, 0xa0]);
  change(e);
  return e;
};
const strong = (e = envelope(), width = 60) => frameBlock('C', base64Encode(e), width);
const compatible = '(quiren_start)\r\nAGg2Qs>A#3Al~OuWcK\r\n(quiren_end)';

test('reads each kind of block, and stops at the first it cannot read', () => {
  const kinds = (text) => readBlocks(text).map((i) => (i.problem ?? i.kind));
  const cases = [
    ['strong', strong(), ['strong']],
    ['strong, narrow', strong(envelope(), 10), ['strong']],
    ['compatible', compatible, ['compatible']],
    ['text around, two blocks', `Hi\r\n${strong()}\r\nand\r\n${compatible}\r\nbye`, ['strong', 'compatible']],
    ['a later mode letter', compatible.replace('\nA', '\nZ'), ['later_format']],
    ['a later envelope version', strong(envelope((e) => { e[0] = 2; })), ['later_format']],
    ['too few rounds, then a block', `${strong(envelope((e) => { e[7] = 0x9f; }))}\r\n${compatible}`, ['refused_settings']],
    ['a damaged envelope, then a block', `${strong(envelope((e) => { e[3] = 1; }))}\r\n${compatible}`, ['damaged']],
    ['base64 with padding', '(quiren_start)\r\nCAQI=\r\n(quiren_end)', ['damaged']],
    ['compatible without ">"', '(quiren_start)\r\nAGg2Qs#3Al~\r\n(quiren_end)', ['damaged']],
    ['compatible field not whole groups', '(quiren_start)\r\nAGg2Q>A#3Al~\r\n(quiren_end)', ['damaged']],
    ['LF line breaks: the letter taken is a payload character', strong().replaceAll('\r\n', '\n'), ['damaged']],
    ['spaces in the body', strong().replace('\r\nC', '\r\n C  ').replace('\r\n(quiren_end', ' \r\n(quiren_end'), ['strong']],
    ['a space inside a marker hides the block', strong().replace('(quiren_', '(quiren _'), []],
    ['a stray end marker ends the reading', `${compatible}\r\n(quiren_end)\r\n${strong()}`, ['compatible']],
    ['no end marker', '(quiren_start)\r\nC', []],
    ['markers in other letter case', compatible.replace('quiren_start', 'Quiren_start'), []],
  ];
  for (const [what, text, expected] of cases) assert.deepEqual(kinds(text), expected, what);
  assert.equal(hasBlock('(quiren_end)(quiren_start)'), false);
});

test('gives a strong block its envelope', () => {
  const e = envelope((x) => { x[51] = 7; });
  assert.deepEqual(readBlocks(strong(e, 13))[0].envelope, e);
});
