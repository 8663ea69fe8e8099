// The name in a key block: its holder's suggestion of what to call them (a
// receiver names keys as they like), by the program's rules
// (block/keys/key_name.h). A name holding a control character, a direction
// mark, an embedding, an override or an isolate makes the block
// unreadable, so that no name can disguise itself as another.

import { LONGEST_KEY_NAME } from './keys_layout.mjs';
import { isWholeText } from './password_rule.mjs';

// U+0000..U+001F, U+007F..U+009F, U+200E, U+200F, U+202A..U+202E,
// U+2066..U+2069.
const FORBIDDEN_IN_NAMES = /[\u0000-\u001F\u007F-\u009F\u200E\u200F\u202A-\u202E\u2066-\u2069]/u;

const encoder = new TextEncoder();

// { problem: null, utf8 } with the name as a writer puts it into a key
// block (in NFC), or { problem } with 'not_utf8' (half a surrogate pair),
// 'forbidden_character' or 'too_long' (over 64 bytes once in NFC).
export function keyNameToWrite(name) {
  if (!isWholeText(name)) return { problem: 'not_utf8' };
  if (FORBIDDEN_IN_NAMES.test(name)) return { problem: 'forbidden_character' };
  const utf8 = encoder.encode(name.normalize('NFC'));
  if (utf8.length > LONGEST_KEY_NAME) return { problem: 'too_long' };
  return { problem: null, utf8 };
}

// The name read from a key block's bytes, or null when it is not one a
// writer writes: valid UTF-8 in NFC, at most 64 bytes, no forbidden
// character.
export function writtenKeyName(bytes) {
  if (bytes.length > LONGEST_KEY_NAME) return null;
  let name;
  try {
    name = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(bytes);
  } catch {
    return null;
  }
  if (FORBIDDEN_IN_NAMES.test(name) || name.normalize('NFC') !== name) return null;
  return name;
}
