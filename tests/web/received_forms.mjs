// The forms a block comes back in from mail, chat and office programs, made
// from a block as it was written (CR LF line breaks): the program's own
// table of received forms, and what chat and office apps do.

const linesOf = (text) => text.split('\r\n');
const joined = (lines, before, between) => lines.map((l) => before + l).join(between);

// The body run together and cut again every `width` characters.
function rewrapped(lines, width) {
  const body = lines.slice(1, -1).join('');
  const out = [lines[0]];
  for (let pos = 0; pos < body.length; pos += width) out.push(body.slice(pos, pos + width));
  out.push(lines.at(-1));
  return out;
}

// `c` after every `every` characters of each line.
const inserted = (lines, c, every) =>
  lines.map((l) => l.replace(new RegExp(`(.{${every}})`, 'gu'), `$1${c}`));

const fullWidth = (s) => s.replace(/[!-~]/g, (c) => String.fromCharCode(c.charCodeAt(0) + 0xfee0));

export function receivedForms(block) {
  const lines = linesOf(block);
  const quotedLines = (these, quote, eol) =>
    `${quote}On Monday you wrote:${eol}${joined(these, quote, eol)}${eol}${quote}${eol}Thanks, see above.`;
  const quoted = (quote, eol) => quotedLines(lines, quote, eol);
  const blankInside = (blank) =>
    joined(lines.map((l, i) => (i === 0 || i === lines.length - 1 ? l : l.slice(0, l.length >> 1) + blank + l.slice(l.length >> 1))), '', '\r\n');
  let mixed = '> She wrote:\r\n';
  lines.forEach((l, i) => { mixed += (i % 2 ? '> > ' : '>> ') + l + '\r\n'; });
  mixed += '> Did you get it?\r\nYes.';
  const body = lines.slice(1, -1);
  const [first, last] = [lines[0], lines.at(-1)];

  return [
    ['as sent', block],
    ['LF only', joined(lines, '', '\n')],
    ['CR only', joined(lines, '', '\r')],
    ["quoted '> ', CR LF", quoted('> ', '\r\n')],
    ["quoted '> ', LF", quoted('> ', '\n')],
    ["quoted '>> ', CR LF", quoted('>> ', '\r\n')],
    ["quoted '>> ', LF", quoted('>> ', '\n')],
    ["quoted '| ', CR LF", quoted('| ', '\r\n')],
    ["quoted '>' without space, LF", quoted('>', '\n')],
    ['mixed depth and spacing', mixed],
    ['indented 4 spaces', 'Here it is:\r\n' + joined(lines, '    ', '\r\n')],
    ['indented with a tab', 'Here it is:\r\n' + joined(lines, '\t', '\r\n')],
    ['U+00A0 after lines', joined(lines, '', '\u00A0\r\n') + '\u00A0'],
    ['U+3000 after lines', joined(lines, '', '\u3000\r\n') + '\u3000'],
    ['U+00A0 inside lines', blankInside('\u00A0')],
    ['U+3000 inside lines', blankInside('\u3000')],
    ['U+3000 indent, U+00A0 after lines', joined(lines, '\u3000', '\u00A0\r\n')],
    ['re-wrapped at 30', joined(rewrapped(lines, 30), '', '\r\n')],
    ['re-wrapped at 76', joined(rewrapped(lines, 76), '', '\r\n')],
    ["quoted '> ', LF, re-wrapped at 76", quotedLines(rewrapped(lines, 76), '> ', '\n')],
    ['joined on one line', joined(lines, '', ' ')],
    ["joined on one line, quoted '> '", '> ' + joined(lines, '', ' ') + '\r\n> \r\nok'],
    ['joined on one line, no spaces', joined(lines, '', '')],
    ...['\u200B', '\u200C', '\u200D', '\u2060', '\uFEFF', '\u00AD'].map((c) => [
      `U+${c.charCodeAt(0).toString(16).toUpperCase().padStart(4, '0')} every 20 characters`,
      joined(inserted(lines, c, 20), '', '\r\n'),
    ]),
    ['U+200B every 20 characters, quoted', quotedLines(inserted(lines, '\u200B', 20), '> ', '\n')],
    ['body in full-width forms', joined([first, ...body.map(fullWidth), last], '', '\r\n')],
    ['whole block in full-width forms', joined(lines.map(fullWidth), '', '\r\n')],
    ['whole block in full-width forms, U+3000 indent', joined(lines.map(fullWidth), '\u3000', '\r\n')],
    ['curly quotes', block.replace(/'/g, '\u2019').replace(/"/g, '\u201D')],
    ['curly quotes, opening ones', block.replace(/'/g, '\u2018').replace(/"/g, '\u201C')],
  ];
}

// Two blocks in one text, one of them quoted.
export function receivedPairs(first, second) {
  const quotedFirst = joined(linesOf(first), '> ', '\r\n');
  const quotedSecond = joined(linesOf(second), '> ', '\n');
  return [
    ['first as sent, second quoted', `${first}\r\n\r\nYou wrote:\r\n${quotedSecond}`],
    ['first quoted, second as sent', `You wrote:\r\n${quotedFirst}\r\n> \r\nHere is mine:\r\n${second}`],
    ['both in full-width forms, run together', fullWidth(first) + fullWidth(second)],
  ];
}
