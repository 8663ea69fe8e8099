// The page's own small rules: the keys that move between tabs, and the
// part of a long text the page shows.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { tabKeyTarget } from '../../web/page_tabs.mjs';
import { shownPart, rowsFor, SHOWN_CHARACTERS } from '../../web/long_text.mjs';

test('arrows go round the tabs, Home and End go to the ends, other keys nowhere', () => {
  const cases = [
    ['ArrowRight', 0, 2, 1], ['ArrowRight', 1, 2, 0], ['ArrowLeft', 0, 2, 1], ['ArrowLeft', 2, 3, 1],
    ['ArrowRight', 2, 3, 0], ['Home', 2, 3, 0], ['End', 0, 3, 2], ['ArrowDown', 0, 3, -1], ['Tab', 1, 3, -1],
    ['Enter', 0, 2, -1],
  ];
  for (const [key, index, count, to] of cases) assert.equal(tabKeyTarget(key, index, count), to, `${key} from ${index} of ${count}`);
});

test('a long text shows its beginning, ended at a near line break, never inside a character', () => {
  const line = `${'あ'.repeat(59)}\n`;
  const cases = [
    ['short: whole', 'abc\r\ndef', 10, 'abc\r\ndef', false],
    ['exactly the limit: whole', 'x'.repeat(10), 10, 'x'.repeat(10), false],
    ['one line: cut at the limit', 'x'.repeat(11), 10, 'x'.repeat(10), true],
    ['a surrogate pair across the limit: before it', `${'x'.repeat(9)}😀y`, 10, 'x'.repeat(9), true],
    ['lines: at the last whole line', line.repeat(10), 250, line.repeat(4), true],
    ['a line break far back: at the limit', `a\n${'x'.repeat(5000)}`, 3000, `a\n${'x'.repeat(2998)}`, true],
  ];
  for (const [what, text, limit, shown, cut] of cases) assert.deepEqual(shownPart(text, limit), { shown, cut }, what);
  const big = line.repeat(400000);
  const { shown, cut } = shownPart(big);
  assert.ok(cut && shown.length <= SHOWN_CHARACTERS && shown.length > SHOWN_CHARACTERS - 100 && big.startsWith(shown));
});

test('a box takes a row a line and one more, between 3 and 12', () => {
  for (const [text, rows] of [['', 3], ['a\nb', 3], ['a\nb\nc', 4], ['\n'.repeat(10), 12], ['\n'.repeat(1000), 12]]) {
    assert.equal(rowsFor(text), rows, JSON.stringify(text.slice(0, 20)));
  }
});
