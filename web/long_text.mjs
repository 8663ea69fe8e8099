// A text too long to lay out at once (a text box of many megabytes holds
// the browser's thread for seconds) is shown in part: its beginning, up to
// SHOWN_CHARACTERS, cut at the last line break before that when one is
// near, never inside a surrogate pair. Copy and Save always take the whole
// text; the page says that only a part is shown.

// Laid out in a few milliseconds, and more than any mail body.
export const SHOWN_CHARACTERS = 100000;

// A line break this close to the limit is where the part ends.
const LINE_BREAK_REACH = 2000;

// { shown, cut }: the part of `text` to show, and whether it is less than
// the text.
export function shownPart(text, limit = SHOWN_CHARACTERS) {
  if (text.length <= limit) return { shown: text, cut: false };
  let end = limit;
  const lineEnd = text.lastIndexOf('\n', end - 1);
  if (lineEnd >= 0 && end - lineEnd <= LINE_BREAK_REACH) end = lineEnd + 1;
  const code = text.charCodeAt(end - 1);
  if (code >= 0xd800 && code <= 0xdbff) end--;
  return { shown: text.slice(0, end), cut: true };
}

// The rows a box takes for the part shown: its lines and one more, within
// a few to a dozen.
export function rowsFor(shown) {
  let lines = 1;
  for (let i = shown.indexOf('\n'); i >= 0 && lines < 12; i = shown.indexOf('\n', i + 1)) lines++;
  return Math.min(12, Math.max(3, lines + 1));
}
