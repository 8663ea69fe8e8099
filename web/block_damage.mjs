// Where a block that cannot be read is damaged, told as the user sees the
// text they pasted, by the program's own rules: a character that no block
// holds, or a body whose length is not whole armour groups (a line that
// lost characters).
//
// Lines are the lines of the received text, ended by CR LF, LF or CR, from
// 1; columns count code points from 1 (an emoji is one character, as the
// user sees it). The block is looked at in the repair's view
// (received_blocks.mjs): quote prefixes, blanks and invisible characters
// are passed over, full-width forms and, in a compatible block, curly
// quotes count as the ASCII they stand for, so what is pointed at is what
// the repair could not mend.

import {
  LINE_BREAK, START_MARKER, END_MARKER, STRONG_MODE_LETTER, isBase64ModeLetter, isCompatibleModeLetter,
} from './block_rules.mjs';
import { isBase64Character } from './base64.mjs';
import { COMPATIBLE_ALPHABET } from './armoured_block.mjs';
import { receivedBlocks, afterQuotePrefix, writersForm } from './received_blocks.mjs';
import { STEP, finish } from './steps.mjs';

const isHighSurrogate = (code) => code >= 0xd800 && code <= 0xdbff;
const isLowSurrogate = (code) => code >= 0xdc00 && code <= 0xdfff;
const isSurrogate = (c) => c.charCodeAt(0) >= 0xd800 && c.charCodeAt(0) <= 0xdfff;
const isCompatibleArmour = (c) => c.length === 1 && COMPATIBLE_ALPHABET.includes(c);

// Whether `length` characters of base64 can be the envelope of a block of
// mode `mode`: whole bytes, as many as the writer writes; for a strong
// block, for a multiple of 4 bytes. Key and recipient envelopes may have
// any length.
function isEnvelopeArmourLength(length, mode) {
  const bytes = Math.floor((length * 3) / 4);
  const wholeGroups = mode !== STRONG_MODE_LETTER || bytes % 4 === 0;
  return length % 4 !== 1 && wholeGroups && Math.floor((bytes * 4 + 2) / 3) === length;
}

// Where `offset` stands in `text` as the user sees it.
function* placeOf(text, offset) {
  let line = 1;
  let column = 1;
  for (let i = 0; i < offset && i < text.length; i++) {
    if (i % STEP === STEP - 1) yield;
    const c = text[i];
    if (c === '\n' && i > 0 && text[i - 1] === '\r') continue;  // CR LF ends one line
    if (c === '\r' || c === '\n') {
      line++;
      column = 1;
    } else if (!(isLowSurrogate(text.charCodeAt(i)) && i > 0 && isHighSurrogate(text.charCodeAt(i - 1)))) {
      column++;
    }
  }
  return { line, column };
}

function characterAt(text, offset) {
  const c = text.charCodeAt(offset);
  if (isHighSurrogate(c) && offset + 1 < text.length && isLowSurrogate(text.charCodeAt(offset + 1))) {
    return text.codePointAt(offset);
  }
  return c;
}

// The lines after the marker line that a line break ends, as the reader
// joins them: [{ begin, end }].
function bodyLines(form) {
  const lines = [];
  let pos = form.indexOf(LINE_BREAK);
  if (pos < 0) return lines;
  for (pos += LINE_BREAK.length; ;) {
    const eol = form.indexOf(LINE_BREAK, pos);
    if (eol < 0) return lines;
    lines.push({ begin: pos, end: eol });
    pos = eol + LINE_BREAK.length;
  }
}

// Where to look for characters that are missing or too many: the first
// line shorter than the longest of the others (the last line, which holds
// what is left, aside), or else the last line.
function* lengthDamage(received, lines, origins) {
  let widest = 0;
  for (let i = 0; i + 1 < lines.length; i++) widest = Math.max(widest, lines[i].end - lines[i].begin);
  let kind = 'uneven_length';
  let line = lines.length - 1;
  for (let i = 0; i + 1 < lines.length; i++) {
    if (lines[i].end - lines[i].begin < widest) {
      kind = 'short_line';
      line = i;
      break;
    }
  }
  return { kind, line: (yield* placeOf(received, origins[lines[line].begin])).line };
}

function* foreign(received, offset) {
  const { line, column } = yield* placeOf(received, offset);
  return { kind: 'foreign_character', line, column, character: characterAt(received, offset) };
}

// The damage in a block's writer's form, its characters' origins in
// `received`.
function* damageIn(received, form, origins) {
  const lines = bodyLines(form);
  if (lines.length === 0) return null;
  const mode = form[lines[0].begin];
  // Strong, key and recipient blocks alike hold base64.
  const strong = isBase64ModeLetter(mode);
  if (!strong && !isCompatibleModeLetter(mode)) return null;

  let part = 'check_field';  // compatible blocks only: then 'text_mode', 'text_field'
  let checkLength = 0;
  let textLength = 0;  // a base64 block's whole armour
  let first = true;
  for (const line of lines) {
    for (let j = line.begin; j < line.end; j++) {
      if (j % STEP === STEP - 1) yield;
      const c = form[j];
      if (first) {
        first = false;
        continue;
      }
      let fits = false;
      if (strong) {
        fits = isBase64Character(c);
        textLength++;
      } else if (part === 'check_field' && c === '>') {
        part = 'text_mode';
        fits = true;
      } else if (part === 'text_mode') {
        // Any letter reads as a text mode; half an emoji does not.
        fits = !isSurrogate(c);
        part = 'text_field';
      } else {
        fits = isCompatibleArmour(c);
        if (part === 'check_field') checkLength++;
        else textLength++;
      }
      if (!fits) return yield* foreign(received, origins[j]);
    }
  }
  const whole = strong ? isEnvelopeArmourLength(textLength, mode) : checkLength % 5 === 0 && textLength % 5 === 0;
  if (whole) return null;
  return yield* lengthDamage(received, lines, origins);
}

// Whether the reader finds the block in the repaired text: under markers
// that are exact but for spaces, or rewritten into the writer's form.
function readerSees(text, block, rewritten) {
  if (rewritten) return true;
  const exactButSpaces = (span, marker) => text.slice(span.begin, span.end).replaceAll(' ', '') === marker;
  return exactButSpaces(block.start, START_MARKER) && exactButSpaces(block.end, END_MARKER);
}

// The damage of the block that readBlocks(repairReceivedText(received))
// gives as item `blockIndex` (from 0), when it can say where:
// { kind: 'foreign_character', line, column, character (a code point) },
// { kind: 'short_line', line } or { kind: 'uneven_length', line }; null for
// a block it finds nothing wrong with (a separator missing, an envelope
// damaged inside), or that is not there. damageSteps yields now and then
// (steps.mjs).
export function* damageSteps(received, blockIndex) {
  let seen = 0;
  for (const block of yield* receivedBlocks(received)) {
    const form = yield* writersForm(received, block);
    if (!readerSees(received, block, form !== null && afterQuotePrefix(received, block))) continue;
    if (seen++ < blockIndex) continue;
    if (!form) return null;
    return yield* damageIn(received, form.text, form.origins);
  }
  return null;
}

export const findBlockDamage = (received, blockIndex) => finish(damageSteps(received, blockIndex));

const INVISIBLE_RANGES = [
  [0x034f, 0x034f], [0x061c, 0x061c], [0x115f, 0x1160], [0x1680, 0x1680], [0x17b4, 0x17b5],
  [0x180e, 0x180e], [0x2000, 0x200f], [0x2028, 0x202f], [0x205f, 0x206f], [0x3000, 0x3000],
  [0x3164, 0x3164], [0xfe00, 0xfe0f], [0xfeff, 0xfeff], [0xffa0, 0xffa0], [0xfff0, 0xfffb],
  [0xe0000, 0xe0fff],
];

// Whether a code point shows as something in a message; false for
// controls, format characters, blanks and unpaired surrogates, which a
// message names by their code alone.
export function isVisibleCharacter(c) {
  if (c <= 0x20 || (c >= 0x7f && c <= 0xa0) || c === 0xad || c > 0x10ffff) return false;
  if (c >= 0xd800 && c <= 0xdfff) return false;
  return !INVISIBLE_RANGES.some(([first, last]) => c >= first && c <= last);
}
