// The text of a received mail the user saved as a file and chose or
// dropped on the received box: a saved mail (.eml) through mail_message.mjs,
// any other file as a plain text in UTF-8 (with or without a byte order
// mark), UTF-16 with its mark, or else Shift_JIS, which Japanese Windows
// saves "ANSI" texts in. The page reads the file itself (File.arrayBuffer);
// nothing is sent anywhere.

import { mailText } from './mail_message.mjs';

// The largest file read: more than a saved mail holding blocks of the most
// text a run gives back, in base64 inside base64.
export const LONGEST_RECEIVED_FILE = 128 << 20;

export const isMailFile = (name) => /\.eml$/i.test(name);

export function plainFileText(bytes) {
  if (bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf) return new TextDecoder('utf-8').decode(bytes);
  if (bytes[0] === 0xff && bytes[1] === 0xfe) return new TextDecoder('utf-16le').decode(bytes);
  if (bytes[0] === 0xfe && bytes[1] === 0xff) return new TextDecoder('utf-16be').decode(bytes);
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return new TextDecoder('shift_jis').decode(bytes);
  }
}

// The text the received box gets from a file named `name` holding `bytes`.
export const receivedFileText = (name, bytes) => (isMailFile(name) ? mailText(bytes) : plainFileText(bytes));
