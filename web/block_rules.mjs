// The rules of the armoured block, as the program's own reader and writer
// keep them: markers, line break, wrap widths, the longest texts.

export const START_MARKER = '(quiren_start)';
export const END_MARKER = '(quiren_end)';
export const LINE_BREAK = '\r\n';

// Wrap widths a block may be written at, and the width used unless the
// user picks another.
export const NARROWEST_WRAP = 10;
export const WIDEST_WRAP = 100;
export const DEFAULT_WRAP = 60;

// The mode letters: "A" and "B" open a compatible block (the earlier
// format, which only the program reads), "C" a strong block.
export const STRONG_MODE_LETTER = 'C';
export const isCompatibleModeLetter = (c) => c === 'A' || c === 'B';

// The mode letter stands right after the start marker and its CR LF.
export const MODE_LETTER_OFFSET = START_MARKER.length + LINE_BREAK.length;

// The most one reading gives back over all its blocks together, in bytes
// of UTF-8: the program's own limit.
export const LONGEST_TEXT = 64 * 1024 * 1024;

// Strong blocks take passwords up to this many UTF-16 code units.
export const LONGEST_PASSWORD = 128;
