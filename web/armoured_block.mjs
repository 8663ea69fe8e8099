// The armoured block, written and read by the same rules as the program:
//
//   (quiren_start) CR LF
//   <mode letter><payload> ...  wrapped so that no body line is longer than
//                               the width, the first line counting the letter
//   CR LF (quiren_end)          nothing after the end marker
//
// A strong block ("C") holds the base64 of a strong envelope, a key block
// ("K") and a recipient block ("D") theirs. A compatible
// block ("A", "B") holds a check field, ">", the text mode letter and the
// text field, in a base-85 alphabet of its own; this page reads its fields
// only to tell a compatible block from a damaged one.

import {
  START_MARKER, END_MARKER, LINE_BREAK, NARROWEST_WRAP, WIDEST_WRAP, DEFAULT_WRAP,
  STRONG_MODE_LETTER, KEY_MODE_LETTER, RECIPIENT_MODE_LETTER, MODE_LETTER_OFFSET, isCompatibleModeLetter,
  isBase64ModeLetter,
} from './block_rules.mjs';
import { base64Decode } from './base64.mjs';
import { checkEnvelope } from './envelope_check.mjs';
import { checkKeyEnvelope } from './key_check.mjs';
import { checkRecipientEnvelope } from './recipient_check.mjs';
import { OUTCOME } from './outcome.mjs';
import { finish } from './steps.mjs';

export const COMPATIBLE_ALPHABET =
  'Gg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k\'a4PtVh!Bq1m&ULd)F8"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_Nw';
const COMPATIBLE_GROUP = 5;
const SEPARATOR = '>';

// A width as the program keeps it: a whole number from 10 to 100.
export function wrapWidth(width) {
  const w = Math.trunc(Number(width));
  if (!Number.isFinite(w)) return DEFAULT_WRAP;
  return Math.min(Math.max(w, NARROWEST_WRAP), WIDEST_WRAP);
}

// The block framing `payload` under `modeLetter`, wrapped at `width`.
export function frameBlock(modeLetter, payload, width) {
  const w = wrapWidth(width);
  const lines = [modeLetter + payload.slice(0, w - 1)];
  for (let taken = Math.min(payload.length, w - 1); taken < payload.length; taken += w) {
    lines.push(payload.slice(taken, taken + w));
  }
  return START_MARKER + LINE_BREAK + lines.join(LINE_BREAK) + LINE_BREAK + END_MARKER;
}

// Is there a start marker with an end marker at or after it, by exact search?
export function hasBlock(text) {
  const start = text.indexOf(START_MARKER);
  return start >= 0 && text.indexOf(END_MARKER, start) >= 0;
}

export const delspace = (text) => text.replaceAll(' ', '');

// Given the text from a start marker up to the following end marker: the
// lines after the first, each without its CR LF, joined. Only lines ended
// by CR LF count; whatever follows the last CR LF is dropped.
export function joinLines(region) {
  let pos = region.indexOf(LINE_BREAK);
  if (pos < 0) return '';
  pos += LINE_BREAK.length;
  const parts = [];
  for (;;) {
    const end = region.indexOf(LINE_BREAK, pos);
    if (end < 0) break;
    parts.push(region.slice(pos, end));
    pos = end + LINE_BREAK.length;
  }
  return parts.join('');
}

function isCompatibleField(field) {
  if (field.length % COMPATIBLE_GROUP !== 0) return false;
  for (const c of field) if (!COMPATIBLE_ALPHABET.includes(c)) return false;
  return true;
}

// A block that cannot be opened, and what it comes to; `kind` when its mode
// letter names one.
const problem = (p, kind) => (kind ? { problem: p, kind } : { problem: p });

// Split at its first ">": the fields must be whole groups of the compatible
// alphabet, as the program requires before any password is asked.
function compatibleItem(payload) {
  const sep = payload.indexOf(SEPARATOR);
  if (sep < 0) return problem(OUTCOME.damaged, 'compatible');
  const check = payload.slice(0, sep);
  const text = payload.slice(sep + 2);
  if (!isCompatibleField(check) || !isCompatibleField(text)) return problem(OUTCOME.damaged, 'compatible');
  // The text mode letter is not checked: the program decrypts any letter
  // but "B" as a plain payload.
  return { problem: null, kind: 'compatible', textMode: payload.slice(sep + 1, sep + 2) };
}

// A strong payload is the base64 of an envelope this page reads; its header
// is checked here, before any key is derived.
function strongItem(payload) {
  const envelope = base64Decode(payload);
  if (!envelope) return problem(OUTCOME.damaged, 'strong');
  const checked = checkEnvelope(envelope);
  if (checked.problem) return problem(checked.problem, 'strong');
  return { problem: null, kind: 'strong', envelope };
}

// A key or recipient payload is the base64 of its envelope: the checks
// that need no key (and, for a key block, no hash) are made here, as the
// program makes them.
function keysItem(kind, payload) {
  const envelope = base64Decode(payload);
  if (!envelope) return problem(OUTCOME.damaged, kind);
  const found = kind === 'key' ? checkKeyEnvelope(envelope) : checkRecipientEnvelope(envelope).problem;
  if (found) return problem(found, kind);
  return { problem: null, kind, envelope };
}

const itemOf = (letter, payload) => {
  if (letter === STRONG_MODE_LETTER) return strongItem(payload);
  if (letter === KEY_MODE_LETTER) return keysItem('key', payload);
  if (letter === RECIPIENT_MODE_LETTER) return keysItem('recipient', payload);
  return compatibleItem(payload);
};

// Every block of `text` in order, ending with the first item that has a
// problem (the outcome it comes to without a password: later_format,
// refused_settings or damaged; null for a block a password or a key may open);
// empty when hasBlock is false. Spaces are removed from the whole text
// first. readBlockSteps yields after each block (steps.mjs).
export function* readBlockSteps(original) {
  const items = [];
  if (!hasBlock(original)) return items;
  const text = delspace(original);
  let start = text.indexOf(START_MARKER);
  for (;;) {
    // The mode letter is taken by position, whatever precedes it.
    const letterAt = start + MODE_LETTER_OFFSET;
    const letter = letterAt < text.length ? text[letterAt] : '';
    if (!isCompatibleModeLetter(letter) && !isBase64ModeLetter(letter)) {
      items.push(problem(OUTCOME.later_format));
      return items;
    }
    const end = text.indexOf(END_MARKER, start);
    if (end < letterAt) {
      items.push(problem(OUTCOME.damaged));
      return items;
    }
    // This block's own text without its mode letter, so many blocks read
    // in linear time.
    const payload = joinLines(text.slice(start, letterAt) + text.slice(letterAt + 1, end));
    items.push(itemOf(letter, payload));
    if (items.at(-1).problem) return items;
    yield;

    const after = end + END_MARKER.length;
    const nextEnd = text.indexOf(END_MARKER, after);
    if (nextEnd < 0) return items;
    const nextStart = text.indexOf(START_MARKER, after);
    // A stray end marker with no start marker before it ends the reading.
    if (nextStart < 0 || nextStart > nextEnd) return items;
    start = nextStart;
  }
}

export const readBlocks = (text) => finish(readBlockSteps(text));
