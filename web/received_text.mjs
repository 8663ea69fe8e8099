// Repairs what mail, chat and office programs do to a block on its way,
// before the block reader sees it: the program's own repair, rule for rule.
//
// Each block that the reader cannot read as it stands is put back into the
// writer's form, from its start marker's line to its end marker:
//   - inside its lines, the characters apps insert to let long words wrap
//     (U+200B, U+200C, U+200D, U+2060, U+FEFF, U+00AD) are removed, and
//     full-width ASCII (U+FF01-U+FF5E) and U+3000 become ASCII and a space,
//     so a marker typed in full-width forms is found too;
//   - line breaks (CR LF, bare LF, bare CR) become CR LF;
//   - a quote prefix on the start marker's line (">", "|" and blanks only)
//     is removed from every line of the block that begins with the same ">"
//     and "|" (blanks between them do not count);
//   - blanks are removed from the body, and lines left empty are dropped;
//   - in a compatible block's body (mode letter "A" or "B") the curly
//     quotes of "smart punctuation" become straight ones;
//   - body text on the start marker's line or before the end marker (lines
//     run together, up to the whole block on one line) goes on a line of its
//     own when it is printable ASCII. Other text before the end marker stays
//     there, where the reader passes over it; other text after the start
//     marker leaves the block as it stands.
// Left exactly as they stand: a text without a start marker followed by an
// end marker; a block whose start marker follows anything but a quote
// prefix on its line; a block the reader reads without a problem into
// fields holding no blank and no line break; a block whose repair would
// make an end marker out of a broken one; everything outside the blocks.
// Linear in the text's length.

import { START_MARKER, END_MARKER, LINE_BREAK, isCompatibleModeLetter } from './block_rules.mjs';
import { hasBlock, readBlocks, delspace } from './armoured_block.mjs';

const isLineBreak = (c) => c === '\r' || c === '\n';
const isQuoteMark = (c) => c === '>' || c === '|';
export const isBlank = (c) => c === ' ' || c === '\t' || c === '\u00A0' || c === '\u3000';
const isPrintableAscii = (c) => c > ' ' && c < '\x7F';
const INSERTED = new Set(['\u200B', '\u200C', '\u200D', '\u2060', '\uFEFF', '\u00AD']);
const isInserted = (c) => INSERTED.has(c);

// A character as the block's lines mean it: full-width ASCII as ASCII,
// U+3000 as a space. Inserted characters are dropped by `folded`.
function foldChar(c) {
  const code = c.charCodeAt(0);
  if (code >= 0xff01 && code <= 0xff5e) return String.fromCharCode(code - 0xfee0);
  if (code === 0x3000) return ' ';
  return c;
}

function folded(s) {
  let out = '';
  for (const c of s) if (!isInserted(c)) out += foldChar(c);
  return out;
}

const CURLY = { '\u2018': "'", '\u2019': "'", '\u201C': '"', '\u201D': '"' };
const straightQuotes = (s) => s.replace(/[\u2018\u2019\u201C\u201D]/g, (c) => CURLY[c]);

// The first marker at or after `from` as the reader sees it once the lines
// are folded: spaces (the reader drops them) and inserted characters inside
// a marker do not hide it. Each attempt reads on only while the text
// matches, and no character of the marker but its first is "(", so every
// character is looked at a bounded number of times. { begin, end } or null.
function findMarker(text, marker, from) {
  for (let at = from; at < text.length; at++) {
    if (foldChar(text[at]) !== marker[0]) continue;
    let i = at + 1;
    let k = 1;
    for (; k < marker.length; k++, i++) {
      while (i < text.length && (text[i] === ' ' || text[i] === '\u3000' || isInserted(text[i]))) i++;
      if (i === text.length || foldChar(text[i]) !== marker[k]) break;
    }
    if (k === marker.length) return { begin: at, end: i };
  }
  return null;
}

function lineBegin(text, pos, floor) {
  while (pos > floor && !isLineBreak(text[pos - 1])) pos--;
  return pos;
}

function lineEnd(text, pos, limit) {
  while (pos < limit && !isLineBreak(text[pos])) pos++;
  return pos;
}

const pastLineBreak = (text, pos) => (text[pos] === '\r' && text[pos + 1] === '\n' ? pos + 2 : pos + 1);

function isQuotePrefix(prefix) {
  for (const c of prefix) if (!isQuoteMark(c) && !isBlank(c)) return false;
  return true;
}

// `line` without the quote and the blanks around it; as it is when it does
// not begin with the whole quote.
function withoutQuote(line, quote) {
  let i = 0;
  for (const q of quote) {
    while (i < line.length && isBlank(line[i])) i++;
    if (i === line.length || line[i] !== q) return line;
    i++;
  }
  while (i < line.length && isBlank(line[i])) i++;
  return line.slice(i);
}

function withoutBlanks(s) {
  let out = '';
  for (const c of s) if (!isBlank(c)) out += c;
  return out;
}

function allPrintableAscii(s) {
  for (const c of s) if (!isPrintableAscii(c)) return false;
  return true;
}

// A character the repair drops or reads as another.
const repairChanges = (c) =>
  isBlank(c) || isLineBreak(c) || isInserted(c) || foldChar(c) !== c || c in CURLY;

// Whether the strict reader reads the block [start marker, end marker]
// without a problem, into fields that nothing here would change: its
// fields are armour, and only a compatible block's text mode letter, which
// the reader does not check, could be a character the repair changes (a
// blank, a line break, a full-width letter...).
function readsAsItStands(block, brokenMarker) {
  const items = readBlocks(brokenMarker ? delspace(block) : block);
  if (items.length === 0 || items[0].problem !== 'none') return false;
  const mode = items[0].textMode ?? '';
  return mode === '' || !repairChanges(mode);
}

// The block, given its folded lines from where its start marker's line
// begins to the end of its end marker, in the writer's form; null when it
// is to be left as it stands.
function rewrittenBlock(region, start, end) {
  let quote = '';
  for (const c of region.slice(0, start.begin)) if (isQuoteMark(c)) quote += c;

  const firstBreak = lineEnd(region, start.end, end.begin);
  let afterStart = withoutBlanks(region.slice(start.end, firstBreak));
  const lines = [];
  let beforeEnd = '';  // the end marker's line up to the marker
  if (firstBreak !== end.begin) {
    let pos = pastLineBreak(region, firstBreak);
    for (;;) {
      const eol = lineEnd(region, pos, end.begin);
      if (eol === end.begin) {
        beforeEnd = withoutQuote(region.slice(pos, eol), quote);
        break;
      }
      lines.push(withoutBlanks(withoutQuote(region.slice(pos, eol), quote)));
      pos = pastLineBreak(region, eol);
    }
  }
  let last = withoutBlanks(beforeEnd);

  // The mode letter is the body's first character.
  const first = [afterStart, ...lines, last].find((s) => s.length > 0) ?? '';
  if (isCompatibleModeLetter(first[0])) {
    afterStart = straightQuotes(afterStart);
    for (let i = 0; i < lines.length; i++) lines[i] = straightQuotes(lines[i]);
    last = straightQuotes(last);
  }

  if (!allPrintableAscii(afterStart)) return null;
  let block = region.slice(start.begin, start.end) + LINE_BREAK;
  // False when a line would make an end marker.
  const addBodyLine = (line) => {
    if (line.length === 0) return true;
    if (line.includes(END_MARKER)) return false;
    block += line + LINE_BREAK;
    return true;
  };
  if (!addBodyLine(afterStart)) return null;
  for (const line of lines) if (!addBodyLine(line)) return null;
  // Body text before the end marker goes on a line of its own; anything
  // else stays there, where the reader passes over it.
  if (allPrintableAscii(last)) {
    if (!addBodyLine(last)) return null;
  } else {
    block += beforeEnd;
  }
  return block + region.slice(end.begin, end.end);
}

export function repairReceivedText(text) {
  // As the reader finds blocks, once the lines are folded.
  if (!hasBlock(folded(text))) return text;
  let start = findMarker(text, START_MARKER, 0);
  let end = start ? findMarker(text, END_MARKER, start.end) : null;
  const out = [];
  let done = 0;  // text before this offset is in `out`
  while (start && end) {
    const from = lineBegin(text, start.begin, done);
    let block = null;
    const original = text.slice(start.begin, end.end);
    const brokenMarker = start.end - start.begin !== START_MARKER.length || end.end - end.begin !== END_MARKER.length;
    if (isQuotePrefix(folded(text.slice(from, start.begin))) && !readsAsItStands(original, brokenMarker)) {
      // Folding keeps line breaks and blanks, so the markers are found in
      // the folded lines where they were found in the text.
      const region = folded(text.slice(from, end.end));
      const s = findMarker(region, START_MARKER, 0);
      const e = findMarker(region, END_MARKER, s.end);
      block = rewrittenBlock(region, s, e);
    }
    if (block !== null) {
      out.push(text.slice(done, from), block);
    } else {
      out.push(text.slice(done, end.end));
    }
    done = end.end;
    // As the reader does: another block only when a start marker comes
    // before the next end marker.
    end = findMarker(text, END_MARKER, done);
    if (!end) break;
    start = findMarker(text, START_MARKER, done);
    if (start && start.begin > end.begin) break;
  }
  out.push(text.slice(done));
  return out.join('');
}
