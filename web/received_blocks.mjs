// Finding the blocks in a text as it came back from mail, chat and office
// programs, and putting one back into its writer's form: the program's own
// rules, step for step. The repair of received texts (received_text.mjs)
// and the damage finder (block_damage.mjs) both work through this, so they
// see the same blocks and the same lines. Offsets count UTF-16 code units.
// The long loops are generators that yield now and then (steps.mjs), so a
// page can let the browser answer while it reads a large paste.

import { START_MARKER, END_MARKER, LINE_BREAK } from './block_rules.mjs';
import { isBlank, isInvisibleInsertion, asciiForm, straightQuote } from './received_characters.mjs';
import { STEP, finish } from './steps.mjs';

const isLineBreak = (c) => c === '\r' || c === '\n';
const isQuoteMark = (c) => {
  const a = asciiForm(c);
  return a === '>' || a === '|';
};
// What a block's body can hold: armour and ">" are printable ASCII.
export const isPrintableAscii = (c) => c > ' ' && c < '\x7F';
// What stands around a quote's marks without being part of anything.
const isFiller = (c) => isBlank(c) || isInvisibleInsertion(c);

// Where the next "(" or its full-width form stands, at or after `from`: the
// first character of both markers; -1 when none does.
function nextOpening(text, from) {
  for (let i = from; i < text.length; i++) if (text[i] === '(' || text[i] === '\uFF08') return i;
  return -1;
}

// The first marker at or after `from`, exact or with invisible characters
// put in and full-width forms; with `spacesInside`, also with spaces in it,
// as the reader sees it once it has dropped every space. Each attempt reads
// on only while the text matches, and no character but the marker's first
// is "(", so every character is looked at a bounded number of times.
// { begin, end } or null.
function* findMarker(text, marker, from, spacesInside) {
  let tried = 0;
  for (let at = nextOpening(text, from); at >= 0; at = nextOpening(text, at + 1)) {
    if (++tried % STEP === 0) yield;
    let i = at + 1;
    let k = 1;
    for (; k < marker.length; k++, i++) {
      while (i < text.length && (isInvisibleInsertion(text[i]) || (spacesInside && asciiForm(text[i]) === ' '))) i++;
      if (i === text.length || asciiForm(text[i]) !== marker[k]) break;
    }
    if (k === marker.length) return { begin: at, end: i };
  }
  return null;
}

function lineBegin(text, pos, floor) {
  while (pos > floor && !isLineBreak(text[pos - 1])) pos--;
  return pos;
}

// The first line break at or after `pos`, or `limit` when none comes before it.
function lineEnd(text, pos, limit) {
  while (pos < limit && !isLineBreak(text[pos])) pos++;
  return pos;
}

const pastLineBreak = (text, pos) => (text[pos] === '\r' && text[pos + 1] === '\n' ? pos + 2 : pos + 1);

// How much of the line [begin, end) the quote and the blanks around it
// take; 0 when the line does not begin with the whole quote.
function quoteLength(text, begin, end, quote) {
  let i = begin;
  for (const q of quote) {
    while (i < end && isFiller(text[i])) i++;
    if (i === end || asciiForm(text[i]) !== q) return 0;
    i++;
  }
  while (i < end && isFiller(text[i])) i++;
  return i - begin;
}

// The characters of [begin, end) as the body would hold them, each with
// the offset it came from.
function* cleaned(text, begin, end) {
  const chars = [];
  const origins = [];
  for (let i = begin; i < end; i++) {
    if ((i - begin) % STEP === STEP - 1) yield;
    let c = text[i];
    if (!isPrintableAscii(c)) {
      if (isInvisibleInsertion(c)) continue;
      c = asciiForm(c);
      if (isBlank(c)) continue;
    }
    chars.push(c);
    origins.push(i);
  }
  return { chars, origins };
}

function* allPrintableAscii(chars) {
  for (let i = 0; i < chars.length; i++) {
    if (i % STEP === STEP - 1) yield;
    if (!isPrintableAscii(chars[i])) return false;
  }
  return true;
}

// Whether the characters spell `word` anywhere.
function* spells(chars, word) {
  for (let i = 0; i + word.length <= chars.length; i++) {
    if (i % STEP === STEP - 1) yield;
    let k = 0;
    while (k < word.length && chars[i + k] === word[k]) k++;
    if (k === word.length) return true;
  }
  return false;
}

// Whether `text` holds a start marker followed by an end marker, each exact
// or with what programs put in. A blank inside a marker hides it here, as
// it hides it from the reader.
function* holdsReceivedBlock(text) {
  const start = yield* findMarker(text, START_MARKER, 0, false);
  return start !== null && (yield* findMarker(text, END_MARKER, start.end, false)) !== null;
}

export const hasReceivedBlock = (text) => finish(holdsReceivedBlock(text));

// Whether `text` holds a start marker, exact or with what programs put in.
export const hasReceivedStartMarker = (text) => finish(findMarker(text, START_MARKER, 0, false)) !== null;

// The blocks of `text` in order, found the way the reader finds them: a
// start marker begins a block only where it comes before the next end
// marker, and once a block is found, spaces inside later markers do not
// hide them (the reader drops every space). Each { lineBegin, start, end }:
// where the start marker's line begins (or the previous block ended, when
// later) and where each marker stands. Linear in the text's length.
export function* receivedBlocks(text) {
  const blocks = [];
  if (!(yield* holdsReceivedBlock(text))) return blocks;
  const find = (marker, from) => findMarker(text, marker, from, true);
  let start = yield* find(START_MARKER, 0);
  let end = start && (yield* find(END_MARKER, start.end));
  let done = 0;  // where the previous block ended
  while (start && end) {
    blocks.push({ lineBegin: lineBegin(text, start.begin, done), start, end });
    done = end.end;
    end = yield* find(END_MARKER, done);
    if (!end) break;
    start = yield* find(START_MARKER, done);
    if (start && start.begin > end.begin) break;
  }
  return blocks;
}

// Whether the start marker's line holds nothing before the marker but a
// quote prefix: ">" and "|" (or their full-width forms), blanks and
// invisible characters.
export function afterQuotePrefix(text, block) {
  for (let i = block.lineBegin; i < block.start.begin; i++) if (!isQuoteMark(text[i]) && !isFiller(text[i])) return false;
  return true;
}

// The block from its start marker to its end marker in the writer's form:
//   - the markers without the invisible characters, full-width forms as
//     ASCII;
//   - the quote prefix of the start marker's line taken from every line
//     that begins with the same ">" and "|" (blanks between them do not
//     count), so a body line keeps a ">" or "|" of its own;
//   - in the body, blanks and invisible characters dropped, full-width
//     forms as ASCII and, in a compatible block (mode letter "A" or "B"),
//     curly quotes as straight ones; lines left empty dropped; CR LF
//     between lines;
//   - body text on the start marker's line, or on the end marker's line
//     before the marker, on a line of its own when it is printable ASCII,
//     as a body is. Other text before the end marker stays there as it
//     came, where the reader passes over it.
// { text, origins } (origins[i]: the offset in `text` of the character
// that became character i; for a line break, of the line's end), or null
// when other text follows the start marker on its line, or when a body
// line would spell an end marker.
export function* writersForm(text, block) {
  let quote = '';
  for (let i = block.lineBegin; i < block.start.begin; i++) if (isQuoteMark(text[i])) quote += asciiForm(text[i]);

  const chars = [];
  const origins = [];
  const put = (c, from) => {
    chars.push(c);
    origins.push(from);
  };
  const putLineBreak = (at) => {
    for (const c of LINE_BREAK) put(c, at);
  };
  const putMarker = (marker) => {
    for (let i = marker.begin; i < marker.end; i++) if (!isInvisibleInsertion(text[i])) put(asciiForm(text[i]), i);
  };

  putMarker(block.start);
  const firstBreak = lineEnd(text, block.start.end, block.end.begin);
  putLineBreak(firstBreak);

  // The first body character tells the block's kind: curly quotes are read
  // as straight ones in a compatible block only.
  let kindKnown = false;
  let compatible = false;
  const settle = (piece) => {
    if (piece.chars.length === 0) return;
    if (!kindKnown) {
      kindKnown = true;
      compatible = piece.chars[0] === 'A' || piece.chars[0] === 'B';
    }
    if (compatible) piece.chars = piece.chars.map(straightQuote);
  };
  // Takes one line of the body; false when it would make an end marker.
  const addLine = function* (piece, eol) {
    if (piece.chars.length === 0) return true;
    if (yield* spells(piece.chars, END_MARKER)) return false;
    for (let i = 0; i < piece.chars.length; i++) {
      if (i % STEP === STEP - 1) yield;
      put(piece.chars[i], piece.origins[i]);
    }
    putLineBreak(eol);
    return true;
  };

  // After the start marker on its line: nothing but blanks in the writer's
  // form; body text when lines were run together.
  const afterStart = yield* cleaned(text, block.start.end, firstBreak);
  settle(afterStart);
  if (!(yield* allPrintableAscii(afterStart.chars)) || !(yield* addLine(afterStart, firstBreak))) return null;

  let beforeEnd = block.end.begin;  // where the end marker's line begins, past its quote
  if (firstBreak !== block.end.begin) {
    let pos = pastLineBreak(text, firstBreak);
    for (let lines = 1; ; lines++) {
      if (lines % STEP === 0) yield;
      const eol = lineEnd(text, pos, block.end.begin);
      const content = pos + quoteLength(text, pos, eol, quote);
      if (eol === block.end.begin) {
        beforeEnd = content;
        break;
      }
      const line = yield* cleaned(text, content, eol);
      settle(line);
      if (!(yield* addLine(line, eol))) return null;
      pos = pastLineBreak(text, eol);
    }
  }
  // Body text before the end marker goes on a line of its own. Anything
  // else stays there, where the reader passes over it.
  const last = yield* cleaned(text, beforeEnd, block.end.begin);
  settle(last);
  if (yield* allPrintableAscii(last.chars)) {
    if (!(yield* addLine(last, block.end.begin))) return null;
  } else {
    for (let i = beforeEnd; i < block.end.begin; i++) put(text[i], i);
  }
  putMarker(block.end);
  return { text: chars.join(''), origins };
}
