import { test } from 'node:test';
import assert from 'node:assert/strict';
import { findBlockDamage } from '../../web/block_damage.mjs';
import { describeDamage } from '../../web/damage_message.mjs';
import { PAGE_TEXTS } from '../../web/page_texts.mjs';
import { vectors } from './support.mjs';

const KINDS = { 'foreign character': 'foreign_character', 'short line': 'short_line', length: 'uneven_length' };

// The table's damage in the shape findBlockDamage gives it.
function expected(damage) {
  const kind = KINDS[damage.kind];
  if (kind !== 'foreign_character') return { kind, line: damage.line };
  return { kind, line: damage.line, column: damage.column, character: damage.character.codePointAt(0) };
}

// Every damaged form of the shared table is pointed at where the table
// says, in the text as received; a form that reads has nothing to point at.
test('every form of the shared table: damage where the table says, none where the form reads', () => {
  const { forms } = vectors('received-forms.json');
  const damaged = forms.filter((f) => f.expect === 'damaged');
  assert.ok(damaged.length > 0);
  for (const form of damaged) assert.deepEqual(findBlockDamage(form.received, 0), expected(form.damage), form.name);
  for (const form of forms.filter((f) => f.expect === 'source')) assert.equal(findBlockDamage(form.received, 0), null, form.name);
});

test('the damage in the program\'s words, in both languages', () => {
  const emoji = { kind: 'foreign_character', line: 3, column: 17, character: 0x1f600 };
  const mark = { kind: 'foreign_character', line: 3, column: 17, character: 0x200e };
  const cases = [
    [emoji, 'ja', '3 行目の 17 文字目「😀」(U+1F600) は暗号文に使われない文字です。'],
    [mark, 'ja', '3 行目の 17 文字目にある見えない文字 (U+200E) は暗号文に使われない文字です。'],
    [{ kind: 'short_line', line: 2 }, 'ja', '2 行目がほかの行より短くなっています。文字が欠けていないか確かめてください。'],
    [{ kind: 'uneven_length', line: 5 }, 'ja', '暗号文の文字数が合いません。5 行目（最後の行）までのどこかで文字が欠けているか、増えています。'],
    [emoji, 'en', 'Line 3, character 17: "😀" (U+1F600) is not a character blocks are written in.'],
    [{ kind: 'foreign_character', line: 1, column: 2, character: 0x2c }, 'en',
      'Line 1, character 2: "," (U+002C) is not a character blocks are written in.'],
    [mark, 'en', 'Line 3, character 17: an invisible character (U+200E) is not a character blocks are written in.'],
  ];
  for (const [damage, language, text] of cases) assert.equal(describeDamage(damage, PAGE_TEXTS[language]), text);
});

// Key and recipient envelopes may have any length, strong envelopes only
// multiples of 4 bytes: a changed character in a whole key block is
// nothing to point at, as in the program (tests/block/block_damage_test.cpp).
test('whole bytes are whole for key and recipient blocks, whole groups of 4 for strong blocks', () => {
  const cases = [
    ['a key envelope of 39 bytes, a character changed', '(quiren_start)\r\nKAQHDzuptw\r\no+JBYqzn4D\r\nhaoApF5qGs\r\n' +
      'hzh5WnlOSu\r\nvizUgSQAl6\r\ntiA\r\n(quiren_end)', null],
    ['a recipient envelope of 2 bytes', '(quiren_start)\r\nDAQE\r\n(quiren_end)', null],
    ['a strong envelope of 2 bytes', '(quiren_start)\r\nCAQE\r\n(quiren_end)', { kind: 'uneven_length', line: 2 }],
    ['a key envelope cut in a group', '(quiren_start)\r\nKAQEBA\r\nAQEB\r\nAQEB\r\n(quiren_end)', { kind: 'short_line', line: 3 }],
  ];
  for (const [what, received, damage] of cases) assert.deepEqual(findBlockDamage(received, 0), damage, what);
});
