// The characters of a received block as the repair reads them: what
// programs put into a block's lines and how each is undone. The lists are
// in block_rules.mjs. Each function takes one UTF-16 code unit, as a string
// of length 1.

import {
  RECEIVED_BLANKS, INVISIBLE_INSERTIONS, FIRST_FULL_WIDTH, LAST_FULL_WIDTH, FULL_WIDTH_OFFSET,
  CURLY_SINGLE_QUOTES, CURLY_DOUBLE_QUOTES,
} from './block_rules.mjs';

const isOneOf = (c, set) => c.length === 1 && set.includes(c);

// Space, tab, no-break space and ideographic space: never part of a body.
export const isBlank = (c) => isOneOf(c, RECEIVED_BLANKS);

// The invisible characters dropped inside a block's lines.
export const isInvisibleInsertion = (c) => isOneOf(c, INVISIBLE_INSERTIONS);

// A full-width form of printable ASCII as that character, the ideographic
// space as a space; any other character as it is.
export function asciiForm(c) {
  const code = c.charCodeAt(0);
  if (code >= FIRST_FULL_WIDTH && code <= LAST_FULL_WIDTH) return String.fromCharCode(code - FULL_WIDTH_OFFSET);
  if (code === 0x3000) return ' ';
  return c;
}

// A curly quote as the straight one; any other character as it is.
export function straightQuote(c) {
  if (isOneOf(c, CURLY_SINGLE_QUOTES)) return "'";
  if (isOneOf(c, CURLY_DOUBLE_QUOTES)) return '"';
  return c;
}
