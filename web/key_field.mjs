// A field that takes the user's secret key (the open tab's and the seal
// tab's): pasted, or read from a file chosen with its button. The file is
// read here and never sent anywhere; the field then holds its text, as a
// paste would.

import { receivedFileText } from './received_file.mjs';
import { LONGEST_KEY_FILE } from './key_file.mjs';

// `ids`: { field, button, input, note }; `texts()` the page's texts now.
// Returns { show() (the note anew in the page's language), clear() }.
export function keyField(ids, texts) {
  const $ = (id) => document.getElementById(id);
  let note = null;  // () => the note's text, or null
  const show = () => { $(ids.note).textContent = note ? note() : ''; };
  const say = (what) => {
    note = what;
    show();
  };

  async function read(file) {
    say(null);
    if (file.size > LONGEST_KEY_FILE) {
      say(() => texts().keyFileTooLarge);
      return;
    }
    try {
      $(ids.field).value = receivedFileText(file.name, new Uint8Array(await file.arrayBuffer()));
    } catch {
      say(() => texts().fileUnreadable);
      return;
    }
    $(ids.field).dispatchEvent(new Event('input', { bubbles: true }));
    say(() => texts().fileRead(file.name));
  }

  $(ids.button).addEventListener('click', () => $(ids.input).click());
  $(ids.input).addEventListener('change', () => {
    const [file] = $(ids.input).files;
    if (file) read(file);
    $(ids.input).value = '';
  });
  // Typing makes the field's own text count: the note goes.
  $(ids.field).addEventListener('input', (event) => {
    if (event.isTrusted) say(null);
  });
  return {
    show,
    clear() {
      $(ids.input).value = '';
      say(null);
    },
  };
}
