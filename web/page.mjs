// The page: two tabs, one to open the blocks of a received text and one to
// seal a text into a strong block (with a generated passphrase at a click).
// Every text goes into the page through textContent or value, never as
// markup.

import { PAGE_TEXTS, defaultLanguage } from './page_texts.mjs';
import { runDecrypt, RUN_END } from './decrypt_run.mjs';
import { sealText } from './seal_text.mjs';
import { wrapWidth } from './armoured_block.mjs';
import { describeDamage } from './damage_message.mjs';
import { measuredRoundsPerSecond } from './derivation_rate.mjs';
import { OUTCOME } from './outcome.mjs';
import { makePassphrase } from './passphrase.mjs';
import { WORD_LISTS } from './word_lists.mjs';
import { nextTurn } from './steps.mjs';
import { webCrypto, oneDerivationAtATime } from './web_crypto.mjs';

const $ = (id) => document.getElementById(id);
let texts = PAGE_TEXTS[defaultLanguage(navigator.languages)];

// Every key derivation of the page, one at a time.
const provider = oneDerivationAtATime(webCrypto);

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
let lastQuestion = null;  // { blocks, seconds } while the question is asked
let lastProgress = null;  // { index, count } while a run opens its blocks

function showLanguage(lang) {
  texts = PAGE_TEXTS[lang];
  document.documentElement.lang = texts.lang;
  document.title = texts.title;
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = texts[element.dataset.text];
  $('lang-ja').setAttribute('aria-pressed', String(lang === 'ja'));
  $('lang-en').setAttribute('aria-pressed', String(lang === 'en'));
  for (const id of Object.keys(lastMessages)) showMessage(id, lastMessages[id]);
  showResults(lastResults);
  showQuestion(lastQuestion);
  showProgress(lastProgress);
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

// Each block the run finished with that has something to show: its text,
// or why it has none. A block whose text the run dropped shows nothing.
function showResults(results) {
  lastResults = results;
  const list = $('results');
  list.replaceChildren();
  for (const result of results) {
    if (result.outcome === OUTCOME.opened && result.text === undefined) continue;
    const item = document.createElement('div');
    item.className = 'result';
    const heading = document.createElement('h2');
    heading.textContent = texts.blockHeading(result.index + 1);
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
      box.setAttribute('aria-label', texts.blockHeading(result.index + 1));
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
  }
}

// Runs `work` with the spinner shown and the buttons held.
async function busy(spinnerId, work) {
  const buttons = [$('open'), $('seal')];
  for (const b of buttons) b.disabled = true;
  $(spinnerId).hidden = false;
  // Let the spinner show before the derivation takes the time.
  await nextTurn();
  try {
    return await work();
  } finally {
    $(spinnerId).hidden = true;
    for (const b of buttons) b.disabled = false;
  }
}

// The decrypt run in progress: { stopped, answer } (answer: the open
// question's, while one is asked); null when the page is idle.
let run = null;

function showProgress(progress) {
  lastProgress = progress;
  $('open-busy-text').textContent = progress ? texts.busyBlock(progress.index + 1, progress.count) : texts.busy;
}

function showQuestion(question) {
  lastQuestion = question;
  $('rounds-question').hidden = question === null;
  if (!question) return;
  const minutes = Math.ceil(question.seconds / 60);
  const time = question.seconds < 120 ? texts.aboutSeconds(Math.max(1, Math.ceil(question.seconds)))
    : texts.aboutMinutes(minutes);
  $('rounds-text').textContent = texts.askLongRun(question.blocks, time);
}

// Open and Stop while a run goes on; the seal tab's button waits too.
function showRunning(running) {
  $('open').disabled = running;
  $('seal').disabled = running;
  $('open-busy').hidden = !running;
  $('open-cancel').hidden = !running;
  if (!running) {
    showProgress(null);
    showQuestion(null);
  }
}

// The question before a long run, with the time it would take here; Stop
// is the default.
async function askRounds(thisRun, { roundsToCome, strongBlocks }) {
  const rate = (await measuredRoundsPerSecond(provider)) ?? 1;
  if (thisRun.stopped) return false;
  $('open-busy').hidden = true;
  $('open-cancel').hidden = true;
  showQuestion({ blocks: strongBlocks, seconds: roundsToCome / rate });
  $('rounds-stop').focus();
  const goOn = await new Promise((resolve) => { thisRun.answer = resolve; });
  thisRun.answer = null;
  if (thisRun.stopped) return false;
  showQuestion(null);
  $('open-busy').hidden = false;
  $('open-cancel').hidden = false;
  return goOn;
}

// Stop: the page is idle at once and shows nothing of the run. A key
// derivation already running in WebCrypto finishes unseen.
function stopRun() {
  if (!run) return;
  run.stopped = true;
  if (run.answer) run.answer(false);
  run = null;
  showRunning(false);
  showResults([]);
  $('open').focus();
}

async function onOpen() {
  showMessage('open-message', null);
  showResults([]);
  const thisRun = { stopped: false, answer: null };
  run = thisRun;
  showRunning(true);
  // Let the spinner show before the work takes the time.
  await nextTurn();
  let result;
  try {
    result = await runDecrypt($('received').value, $('password').value, {
      provider,
      askRounds: (long) => askRounds(thisRun, long),
      stopped: () => thisRun.stopped,
      blockStarting: (index, count) => {
        if (!thisRun.stopped) showProgress({ index, count });
      },
    });
  } finally {
    if (run === thisRun) {
      run = null;
      showRunning(false);
    }
  }
  if (thisRun.stopped) return;
  if (result.end === RUN_END.no_block || result.end === RUN_END.no_password) {
    showMessage('open-message', PROBLEM_TEXT[result.end]);
    return;
  }
  // Stopped at the question, or a run the user stopped: nothing to show.
  if (result.end === RUN_END.rounds_refused || result.blocks.at(-1)?.outcome === OUTCOME.cancelled) return;
  showResults(result.blocks);
  // A password that opened something has done its work.
  if (result.blocks.some((b) => b.text !== undefined)) $('password').value = '';
}

async function onSeal() {
  showMessage('seal-message', null);
  $('seal-result').hidden = true;
  $('sealed').textContent = '';
  const width = wrapWidth($('width').value);
  $('width').value = String(width);
  const password = $('seal-password').value;
  const confirmation = $('seal-confirm').disabled ? password : $('seal-confirm').value;
  const sealed = await busy('seal-busy', () => sealText($('compose').value, password, confirmation, width, provider));
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
      confirmation.type = field.type;
    }
  });
}

// "Generate": both fields get a new passphrase, shown (the confirmation is
// disabled while the password is shown, as the show box leaves it).
function onGeneratePassphrase() {
  showMessage('seal-message', null);
  const passphrase = makePassphrase(WORD_LISTS[$('passphrase-kana').checked ? 'kana' : 'latin']);
  if (passphrase === null) {
    showMessage('seal-message', 'passphraseFailed');
    return;
  }
  $('seal-password').value = passphrase;
  $('seal-confirm').value = passphrase;
  $('show-seal-password').checked = true;
  $('seal-password').type = 'text';
  $('seal-confirm').type = 'text';
  $('seal-confirm').disabled = true;
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
  $('open-cancel').addEventListener('click', stopRun);
  $('rounds-stop').addEventListener('click', stopRun);
  $('rounds-continue').addEventListener('click', () => {
    if (run && run.answer) run.answer(true);
  });
  $('seal').addEventListener('click', onSeal);
  $('generate-passphrase').addEventListener('click', onGeneratePassphrase);
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
