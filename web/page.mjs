// The page: two tabs, one to open the blocks of a received text and one to
// seal a text into a strong block. Every text goes into the page through
// textContent or value, never as markup.

import { PAGE_TEXTS, defaultLanguage } from './page_texts.mjs';
import { openReceived, sealText } from './reader.mjs';
import { wrapWidth } from './armoured_block.mjs';
import { describeDamage } from './damage_message.mjs';
import { OUTCOME } from './outcome.mjs';

const $ = (id) => document.getElementById(id);
let texts = PAGE_TEXTS[defaultLanguage(navigator.languages)];

// What each problem of a whole run or of sealing is called in the texts;
// a block's outcome is its text's own key (page_texts.mjs, outcomes).
const PROBLEM_TEXT = {
  no_block: 'noBlock',
  no_password: 'noPassword',
  empty_password: 'emptyPassword',
  password_too_long: 'passwordTooLong',
  password_not_encodable: 'passwordNotEncodable',
  passwords_differ: 'passwordsDiffer',
  text_not_encodable: 'textNotEncodable',
  text_too_long: 'textTooLong',
  random_unavailable: 'randomUnavailable',
  crypto_failed: 'cryptoFailed',
};

// The last results, kept so that a change of language shows them anew.
let lastResults = [];
let lastMessages = { 'open-message': null, 'seal-message': null };

function showLanguage(lang) {
  texts = PAGE_TEXTS[lang];
  document.documentElement.lang = texts.lang;
  document.title = texts.title;
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = texts[element.dataset.text];
  $('lang-ja').setAttribute('aria-pressed', String(lang === 'ja'));
  $('lang-en').setAttribute('aria-pressed', String(lang === 'en'));
  for (const id of Object.keys(lastMessages)) showMessage(id, lastMessages[id]);
  showResults(lastResults);
}

function showMessage(id, key) {
  lastMessages[id] = key;
  const element = $(id);
  element.hidden = key === null;
  element.textContent = key === null ? '' : texts[key];
}

function selectTab(which) {
  for (const name of ['open', 'seal']) {
    const selected = name === which;
    $(`tab-${name}`).setAttribute('aria-selected', String(selected));
    $(`tab-${name}`).tabIndex = selected ? 0 : -1;
    $(`panel-${name}`).hidden = !selected;
  }
}

// A copy button for the exact text (the text box's own value has its line
// breaks as LF); when the clipboard refuses, the box is selected instead.
function copyButton(box, text) {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'copy';
  button.textContent = texts.copy;
  button.addEventListener('click', async () => {
    try {
      await navigator.clipboard.writeText(text());
      button.textContent = texts.copied;
      setTimeout(() => { button.textContent = texts.copy; }, 1500);
    } catch {
      box.focus();
      box.select();
    }
  });
  return button;
}

function showResults(results) {
  lastResults = results;
  const list = $('results');
  list.replaceChildren();
  results.forEach((result, i) => {
    const item = document.createElement('div');
    item.className = 'result';
    const heading = document.createElement('h2');
    heading.textContent = texts.blockHeading(i + 1);
    item.append(heading);
    if (result.outcome === OUTCOME.opened) {
      const box = document.createElement('textarea');
      box.className = 'plain';
      box.readOnly = true;
      // A browser's enhanced spell check may send what it checks elsewhere.
      box.spellcheck = false;
      box.rows = Math.min(12, Math.max(3, result.text.split('\n').length + 1));
      // The box's text node keeps the text exactly, CR LF included.
      box.textContent = result.text;
      box.setAttribute('aria-label', texts.blockHeading(i + 1));
      item.append(box, copyButton(box, () => result.text));
    } else {
      const failed = document.createElement('p');
      failed.className = 'failed';
      failed.textContent = texts.outcomes[result.outcome];
      item.append(failed);
      if (result.damage) {
        const where = document.createElement('p');
        where.className = 'where';
        where.textContent = describeDamage(result.damage, texts);
        item.append(where);
      }
    }
    list.append(item);
  });
}

// Runs `work` with the spinner shown and the buttons held.
async function busy(spinnerId, work) {
  const buttons = [$('open'), $('seal')];
  for (const b of buttons) b.disabled = true;
  $(spinnerId).hidden = false;
  // Let the spinner show before the derivation takes the time.
  await new Promise((resolve) => setTimeout(resolve, 30));
  try {
    return await work();
  } finally {
    $(spinnerId).hidden = true;
    for (const b of buttons) b.disabled = false;
  }
}

async function onOpen() {
  showMessage('open-message', null);
  showResults([]);
  const opened = await busy('open-busy', () => openReceived($('received').value, $('password').value));
  if (opened.outcome !== 'blocks') {
    showMessage('open-message', PROBLEM_TEXT[opened.outcome]);
    return;
  }
  showResults(opened.results);
  // A password that opened something has done its work.
  if (opened.results.some((r) => r.outcome === OUTCOME.opened)) $('password').value = '';
}

async function onSeal() {
  showMessage('seal-message', null);
  $('seal-result').hidden = true;
  $('sealed').textContent = '';
  const width = wrapWidth($('width').value);
  $('width').value = String(width);
  const password = $('seal-password').value;
  const confirmation = $('seal-confirm').disabled ? password : $('seal-confirm').value;
  const sealed = await busy('seal-busy', () => sealText($('compose').value, password, confirmation, width));
  if (sealed.outcome !== 'sealed') {
    showMessage('seal-message', PROBLEM_TEXT[sealed.outcome]);
    return;
  }
  // CR LF line breaks, as the program writes blocks.
  $('sealed').textContent = sealed.block;
  $('seal-result').hidden = false;
  $('seal-password').value = '';
  $('seal-confirm').value = '';
}

function showPasswords(checkbox, field, confirmation) {
  checkbox.addEventListener('change', () => {
    field.type = checkbox.checked ? 'text' : 'password';
    // A password in plain sight needs no second typing.
    if (confirmation) {
      confirmation.value = '';
      confirmation.disabled = checkbox.checked;
    }
  });
}

function start() {
  const copySealed = copyButton($('sealed'), () => $('sealed').textContent);
  copySealed.id = 'copy-sealed';
  copySealed.dataset.text = 'copy';
  $('seal-result').append(copySealed);
  $('lang-ja').addEventListener('click', () => showLanguage('ja'));
  $('lang-en').addEventListener('click', () => showLanguage('en'));
  $('tab-open').addEventListener('click', () => selectTab('open'));
  $('tab-seal').addEventListener('click', () => selectTab('seal'));
  $('open').addEventListener('click', onOpen);
  $('seal').addEventListener('click', onSeal);
  // Enter in a password field presses the tab's button, as in a dialog.
  for (const [field, button] of [['password', 'open'], ['seal-password', 'seal'], ['seal-confirm', 'seal']]) {
    $(field).addEventListener('keydown', (e) => {
      if (e.key === 'Enter' && !e.isComposing && !$(button).disabled) $(button).click();
    });
  }
  showPasswords($('show-password'), $('password'));
  showPasswords($('show-seal-password'), $('seal-password'), $('seal-confirm'));
  showLanguage(texts.lang);
  selectTab('open');
  // Outside a secure context (a page served over plain http from another
  // host, some embedded viewers) there is no WebCrypto: say so at once.
  if (!globalThis.crypto || !globalThis.crypto.subtle) {
    showMessage('open-message', 'noCrypto');
    showMessage('seal-message', 'noCrypto');
    $('open').disabled = true;
    $('seal').disabled = true;
  }
}

start();
