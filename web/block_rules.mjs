// The rules of the armoured block, as the program's own reader and writer
// keep them: markers, line break, wrap widths, the longest texts, the round
// budget. The numbers are the program's (block/block_rules.h), held equal
// to them by tests/web/rule_numbers.test.mjs.

export const START_MARKER = '(quiren_start)';
export const END_MARKER = '(quiren_end)';
export const LINE_BREAK = '\r\n';

// Wrap widths a block may be written at, and the width used unless the
// user picks another.
export const NARROWEST_WRAP = 10;
export const WIDEST_WRAP = 100;
export const DEFAULT_WRAP = 60;

// The mode letters: "A" and "B" open a compatible block (the earlier
// format, which only the program reads), "C" a strong block, "K" a key block
// (someone's public key), "D" a recipient block (a text for people's keys);
// the last three hold base64 alike.
export const STRONG_MODE_LETTER = 'C';
export const KEY_MODE_LETTER = 'K';
export const RECIPIENT_MODE_LETTER = 'D';
export const isCompatibleModeLetter = (c) => c === 'A' || c === 'B';
export const isBase64ModeLetter = (c) => c === STRONG_MODE_LETTER || c === KEY_MODE_LETTER || c === RECIPIENT_MODE_LETTER;

// What mail, chat and office programs do to a block's characters on its
// way, and the repair of received texts undoes (received_characters.mjs).
// Every armour and marker character is printable ASCII, so none of this is
// ambiguous:
//   - blanks around and inside the lines;
export const RECEIVED_BLANKS = ' \t\u00A0\u3000';
//   - invisible characters put in to let long words wrap or to join
//     characters, dropped inside a block's lines;
export const INVISIBLE_INSERTIONS = '\u200B\u200C\u200D\u2060\uFEFF\u00AD';
//   - full-width forms of printable ASCII, read as their ASCII character in
//     the marker and body lines, and the ideographic space as a space;
export const FIRST_FULL_WIDTH = 0xff01;
export const LAST_FULL_WIDTH = 0xff5e;
export const FULL_WIDTH_OFFSET = FIRST_FULL_WIDTH - 0x21;
//   - curly quotes, read as straight ones in a compatible block's body.
export const CURLY_SINGLE_QUOTES = '\u2018\u2019';
export const CURLY_DOUBLE_QUOTES = '\u201C\u201D';

// The mode letter stands right after the start marker and its CR LF.
export const MODE_LETTER_OFFSET = START_MARKER.length + LINE_BREAK.length;

// The most one reading gives back over all its blocks together, in bytes
// of UTF-8: the program's own limit.
export const LONGEST_TEXT = 64 * 1024 * 1024;

// The rounds of key derivation a run spends without asking: three blocks
// at the most rounds a reader takes, about fifty at the writers' rounds.
export const ROUND_BUDGET = 30000000;

// Strong blocks take passwords up to this many UTF-16 code units.
export const LONGEST_PASSWORD = 128;
