// A whole number below a count, drawn from the browser's cryptographic
// random source with equal chances, as the program draws it
// (block/strong/random_index.h): a generated passphrase's words, the order
// of a recipient block's slots.

// A number is drawn from 0 to 65,535. Numbers from the largest multiple of
// the count on (62,208 to 65,535 for 7,776; none for 2,048) are rejected
// and drawn again, so that the remainder by the count favours no number.
export const DRAW_RANGE = 65536;
export const firstRejectedDraw = (count) => DRAW_RANGE - (DRAW_RANGE % count);
// A source that gives this many rejected numbers in a row for one draw is
// taken as broken: a sound one does so with a chance below 10^-80.
export const MOST_REJECTIONS_IN_A_ROW = 64;

export const browserRandom = (numbers) => globalThis.crypto.getRandomValues(numbers);

// A number from 0 to count - 1 (count 1..65,536), or null when the source
// fails or gives only rejected numbers. `randomValues` fills a Uint16Array,
// as crypto.getRandomValues does.
export function randomIndex(count, randomValues = browserRandom) {
  if (!(count >= 1 && count <= DRAW_RANGE)) return null;
  const rejectedFrom = firstRejectedDraw(count);
  const number = new Uint16Array(1);
  try {
    for (let rejected = 0; rejected < MOST_REJECTIONS_IN_A_ROW; rejected++) {
      randomValues(number);
      if (number[0] < rejectedFrom) return number[0] % count;
    }
    return null;
  } catch {
    return null;
  } finally {
    number.fill(0);
  }
}
