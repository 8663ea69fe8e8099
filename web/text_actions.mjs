// What the page offers under a text it shows (an opened text, a written
// block): the text in its box, only in part when long (long_text.mjs),
// then Copy and Save as a file, both for the whole text. When the browser
// refuses the clipboard, the box's text is selected and a line says to
// press Ctrl+C; a box that shows only a part says to save the file
// instead, as Ctrl+C would copy the part.

import { shownPart } from './long_text.mjs';

// `text` in `box`, in part when long; whether it was cut.
export function showText(box, text) {
  const { shown, cut } = shownPart(text);
  // The box's text node keeps the text exactly, CR LF included.
  box.textContent = shown;
  return cut;
}

// Saves `text` as a download named `fileName`, in UTF-8, its line breaks
// as they are. The page makes the file itself (a blob: URL), nothing is
// fetched.
export function saveText(text, fileName) {
  const blob = new Blob([text], { type: 'text/plain;charset=utf-8' });
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = fileName;
  document.body.append(link);
  link.click();
  link.remove();
  // The download holds its own reference once begun.
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function button(key, texts) {
  const made = document.createElement('button');
  made.type = 'button';
  made.className = key;
  made.dataset.text = key;
  made.textContent = texts()[key];
  return made;
}

// The row of Copy and Save as a file for the text in `box`: `text()` the
// whole text, `cut()` whether the box shows only a part, `fileName()` the
// name to save it under, `texts()` the page's texts now. Returns
// { row, copy }.
export function textActions(box, { text, cut, fileName, texts }) {
  const row = document.createElement('div');
  row.className = 'text-actions';
  const copy = button('copy', texts);
  const save = button('save', texts);
  const hint = document.createElement('p');
  hint.className = 'hint';
  hint.setAttribute('role', 'status');
  hint.hidden = true;
  copy.addEventListener('click', async () => {
    hint.hidden = true;
    try {
      await navigator.clipboard.writeText(text());
      copy.textContent = texts().copied;
      setTimeout(() => { copy.textContent = texts().copy; }, 1500);
    } catch {
      if (cut()) {
        hint.textContent = texts().copyLongByFile;
      } else {
        box.focus();
        box.select();
        hint.textContent = texts().copyByKeys;
      }
      hint.hidden = false;
    }
  });
  save.addEventListener('click', () => saveText(text(), fileName()));
  row.append(copy, save, hint);
  return { row, copy };
}
