// One password on every system: a strong block's key comes from the UTF-8
// of the password in Unicode normalisation form C, so the precomposed and
// the decomposed forms of the same characters (macOS gives the latter)
// open the same block. A reader whose NFC key fails on the first strong
// block of a run also tries the password as typed when that differs, so
// blocks sealed before the rule still open (decrypt_run.mjs).

import { LONGEST_PASSWORD } from './block_rules.mjs';

const encoder = new TextEncoder();

// False for a text with half a surrogate pair, which UTF-8 cannot hold.
export function isWholeText(text) {
  for (let i = 0; i < text.length; i++) {
    const c = text.charCodeAt(i);
    if (c >= 0xd800 && c <= 0xdbff) {
      const next = i + 1 < text.length ? text.charCodeAt(i + 1) : 0;
      if (next < 0xdc00 || next > 0xdfff) return false;
      i++;
    } else if (c >= 0xdc00 && c <= 0xdfff) {
      return false;
    }
  }
  return true;
}

// Why a password cannot seal a block, or null: 'empty_password',
// 'password_too_long' (over 128 UTF-16 code units as typed) or
// 'password_not_encodable'.
export function sealPasswordProblem(typed) {
  if (typed.length === 0) return 'empty_password';
  if (typed.length > LONGEST_PASSWORD) return 'password_too_long';
  if (!isWholeText(typed)) return 'password_not_encodable';
  return null;
}

// The bytes a writer derives its key from.
export const sealingPassword = (typed) => encoder.encode(typed.normalize('NFC'));
