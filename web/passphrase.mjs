// Generated passphrases, as the program makes them (block/passphrase.h):
// the list's count of words, each drawn from the whole list with equal
// chances (random_index.mjs), joined by its separator. The lists, their
// counts and separators come into the page when it is assembled
// (word_lists, made by block/word_lists.py from the same Debian files as
// the program's).

import { DRAW_RANGE, browserRandom, randomIndex } from './random_index.mjs';

// A new passphrase from `list` ({ words, count, separator }), or null when
// the random source fails: never a shorter or weaker one. `randomValues`
// fills a Uint16Array, as crypto.getRandomValues does.
export function makePassphrase(list, randomValues = browserRandom) {
  const size = list.words.length;
  if (size === 0 || size > DRAW_RANGE || !(list.count > 0)) return null;
  const words = [];
  while (words.length < list.count) {
    const index = randomIndex(size, randomValues);
    if (index === null) return null;
    words.push(list.words[index]);
  }
  return words.join(list.separator);
}
