// Generated passphrases, as the program makes them (block/passphrase.h):
// the list's count of words, each drawn from the whole list with equal
// chances, joined by its separator. The lists, their counts and separators
// come into the page when it is assembled (word_lists, made by
// block/word_lists.py from the same Debian files as the program's).

// A word is drawn from a random number from 0 to 65,535. Numbers from the
// list's largest multiple of its size on (62,208 to 65,535 for the 7,776
// words; none for 2,048) are rejected and drawn again, so that the
// remainder by the size favours no word.
export const DRAW_RANGE = 65536;
export const firstRejectedDraw = (size) => DRAW_RANGE - (DRAW_RANGE % size);
// A source that gives this many rejected numbers in a row for one word is
// taken as broken: a sound one does so with a chance below 10^-80.
export const MOST_REJECTIONS_IN_A_ROW = 64;

const browserRandom = (numbers) => globalThis.crypto.getRandomValues(numbers);

// A new passphrase from `list` ({ words, count, separator }), or null when
// the random source fails: never a shorter or weaker one. `randomValues`
// fills a Uint16Array, as crypto.getRandomValues does.
export function makePassphrase(list, randomValues = browserRandom) {
  const size = list.words.length;
  if (size === 0 || size > DRAW_RANGE || !(list.count > 0)) return null;
  const rejectedFrom = firstRejectedDraw(size);
  const number = new Uint16Array(1);
  const words = [];
  try {
    while (words.length < list.count) {
      let index = null;
      for (let rejected = 0; rejected < MOST_REJECTIONS_IN_A_ROW && index === null; rejected++) {
        randomValues(number);
        if (number[0] < rejectedFrom) index = number[0] % size;
      }
      if (index === null) return null;
      words.push(list.words[index]);
    }
  } catch {
    return null;
  } finally {
    number.fill(0);
  }
  return words.join(list.separator);
}
