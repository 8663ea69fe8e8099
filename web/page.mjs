// The page: three tabs, one to open the blocks of a received text (pasted,
// or read from a saved mail; blocks written to keys with the user's secret
// key), one to seal a text into a strong block (with a generated
// passphrase at a click) or into a block for people's keys, and one to
// make a key and check received ones (keys_tab.mjs); and a button that
// empties the page. The page stores nothing: a key lives in its fields
// until Clear or until the page is closed. Every text goes into the page
// through textContent or value, never as markup.

import { PAGE_TEXTS, defaultLanguage } from './page_texts.mjs';
import { runDecrypt, RUN_END } from './decrypt_run.mjs';
import { sealText, sealTextForKeys } from './seal_text.mjs';
import { wrapWidth } from './armoured_block.mjs';
import { describeDamage } from './damage_message.mjs';
import { measuredRoundsPerSecond } from './derivation_rate.mjs';
import { OUTCOME } from './outcome.mjs';
import { makePassphrase } from './passphrase.mjs';
import { WORD_LISTS } from './word_lists.mjs';
import { nextTurn } from './steps.mjs';
import { webCrypto, oneDerivationAtATime } from './web_crypto.mjs';
import { keyboardTabs, selectTab } from './page_tabs.mjs';
import { showText, textActions } from './text_actions.mjs';
import { rowsFor, shownPart } from './long_text.mjs';
import { receivedFileText, LONGEST_RECEIVED_FILE } from './received_file.mjs';
import { secretKeyOfField } from './key_file.mjs';
import { keyBlocksIn } from './received_keys.mjs';
import { showKeyList } from './key_list.mjs';
import { keyField } from './key_field.mjs';
import { keysTab } from './keys_tab.mjs';
import { senderLine } from './sender_line.mjs';
import { safetyDigits } from './safety_digits.mjs';

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
  no_recipient: 'noRecipientKey',
  too_many_recipients: 'tooManyRecipients',
  recipient_key_refused: 'recipientKeyRefused',
};

// The last results, kept so that a change of language shows them anew.
let lastResults = [];
let lastSealed = null;    // the block last written
// Each message element's message: a text's key, or a function of the
// texts for one that takes values.
let lastMessages = { 'open-message': null, 'seal-message': null, 'my-key-message': null, 'key-message': null };
let lastSealTo = null;    // keyBlocksIn's result for the seal-to field
let lastQuestion = null;  // { blocks, seconds } while the question is asked
let lastProgress = null;  // { index, count } while a run opens its blocks
let lastFileName = null;  // the file last read into the received box

// A received text too long to lay out in its box (a saved mail, a paste of
// megabytes): the box shows its beginning and the whole is held here, until
// the user edits the box, whose text then counts.
let heldReceived = null;

// Counts the clearings of the page: work that began before one shows
// nothing when it ends.
let clearings = 0;

function showLanguage(lang) {
  texts = PAGE_TEXTS[lang];
  document.documentElement.lang = texts.lang;
  document.title = texts.title;
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = texts[element.dataset.text];
  for (const list of document.querySelectorAll('[data-steps]')) {
    list.replaceChildren(...texts.steps[list.dataset.steps].map((step) => {
      const item = document.createElement('li');
      item.textContent = step;
      return item;
    }));
  }
  $('clear-page').title = texts.clearPageTitle;
  $('lang-ja').setAttribute('aria-pressed', String(lang === 'ja'));
  $('lang-en').setAttribute('aria-pressed', String(lang === 'en'));
  for (const id of Object.keys(lastMessages)) showMessage(id, lastMessages[id]);
  showResults(lastResults);
  showSealed(lastSealed);
  showQuestion(lastQuestion);
  showProgress(lastProgress);
  showFileRead(lastFileName);
  showHeldReceived();
  showKeyList($('seal-to-digits'), lastSealTo, texts, 'sealToHeading');
  for (const field of keyFields) field.show();
  keys.show();
}

function showMessage(id, message) {
  lastMessages[id] = message;
  const element = $(id);
  element.hidden = message === null;
  if (message === null) element.textContent = '';
  else element.textContent = typeof message === 'function' ? message(texts) : texts[message];
}

const currentTexts = () => texts;

// The note under a box that shows only the beginning of a long text.
function longTextNote(shownLength, text) {
  const note = document.createElement('p');
  note.className = 'note long-text';
  note.textContent = texts.longText(shownLength.toLocaleString(texts.lang), text.length.toLocaleString(texts.lang));
  return note;
}

// Each block the run finished with that has something to show: its text,
// or why it has none. A block whose text the run dropped shows nothing.
function showResults(results) {
  lastResults = results;
  const list = $('results');
  list.replaceChildren();
  let opened = 0;
  for (const result of results) {
    if (result.outcome === OUTCOME.opened && result.text === undefined) continue;
    const item = document.createElement('div');
    item.className = 'result';
    const heading = document.createElement('h2');
    heading.textContent = texts.textHeading(result.index + 1);
    item.append(heading);
    if (result.outcome === OUTCOME.opened) {
      opened++;
      const box = document.createElement('textarea');
      box.className = 'plain';
      box.readOnly = true;
      // A browser's enhanced spell check may send what it checks elsewhere.
      box.spellcheck = false;
      const cut = showText(box, result.text);
      box.rows = rowsFor(box.textContent);
      box.setAttribute('aria-label', texts.textHeading(result.index + 1));
      item.append(box);
      if (cut) item.append(longTextNote(box.textContent.length, result.text));
      if (result.sender) {
        const sender = document.createElement('p');
        sender.className = 'sender';
        sender.textContent = senderLine(result.sender, texts);
        item.append(sender);
      }
      item.append(textActions(box, {
        text: () => result.text, cut: () => cut, fileName: () => texts.savedTextName(result.index + 1), texts: currentTexts,
      }).row);
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
  $('clipboard-history').hidden = opened === 0;
}

// The block last written, in its box with Copy and Save as a file; nothing
// when `block` is null.
function showSealed(block) {
  lastSealed = block;
  const result = $('seal-result');
  result.hidden = block === null;
  for (const old of result.querySelectorAll('.long-text, .text-actions')) old.remove();
  const box = $('sealed');
  if (block === null) {
    box.textContent = '';
    return null;
  }
  // CR LF line breaks, as the program writes blocks.
  const cut = showText(box, block);
  if (cut) result.append(longTextNote(box.textContent.length, block));
  const actions = textActions(box, {
    text: () => block, cut: () => cut, fileName: () => texts.savedBlockName, texts: currentTexts,
  });
  actions.copy.id = 'copy-sealed';
  result.append(actions.row);
  return { copy: actions.copy, cut };
}

function showFileRead(name) {
  lastFileName = name;
  $('received-file-note').textContent = name === null ? '' : texts.fileRead(name);
}

function showHeldReceived() {
  const note = $('received-long-note');
  note.hidden = heldReceived === null;
  if (heldReceived !== null) {
    note.textContent = texts.longReceived(shownPart(heldReceived).shown.length.toLocaleString(texts.lang),
      heldReceived.length.toLocaleString(texts.lang));
  }
}

// The received box gets `text`, only its beginning when long.
function setReceived(text) {
  const { shown, cut } = shownPart(text);
  heldReceived = cut ? text : null;
  $('received').value = shown;
  showHeldReceived();
}

const receivedText = () => heldReceived ?? $('received').value;

// A paste of a long text goes where the box's selection is, the box
// showing the beginning of the result.
function onReceivedPaste(event) {
  const pasted = event.clipboardData?.getData('text/plain') ?? '';
  if (!shownPart(pasted).cut) return;
  event.preventDefault();
  const box = $('received');
  const whole = receivedText();
  showFileRead(null);
  setReceived(whole.slice(0, box.selectionStart) + pasted + whole.slice(box.selectionEnd));
}

// Runs `work` with the spinner shown and the buttons held.
async function busy(spinnerId, work) {
  const buttons = [$('open'), $('seal'), $('make-key')];
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
  $('make-key').disabled = running;
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

// The secret key of the open tab's key field, asked for by the run only
// when the text holds a block written to keys: null when the field is
// empty, or when the key cannot be taken, which the field's message says.
async function openTabKey(thisRun) {
  if ($('my-key').value.trim() === '') return null;
  const taken = await secretKeyOfField($('my-key').value, $('my-key-pass').value, provider);
  if (taken.key) {
    thisRun.keys.push(taken.key);
    thisRun.ownPublic = await provider.x25519PublicKey(taken.key);
    return taken.key;
  }
  if (!thisRun.stopped) showMessage('my-key-message', (t) => t.keyProblems[taken.problem]);
  return null;
}

const sameBytes = (a, b) => a.length === b.length && a.every((x, i) => x === b[i]);

async function onOpen() {
  showMessage('open-message', null);
  showMessage('my-key-message', null);
  showResults([]);
  const thisRun = { stopped: false, answer: null, keys: [], ownPublic: null };
  run = thisRun;
  showRunning(true);
  // Let the spinner show before the work takes the time.
  await nextTurn();
  let result;
  try {
    result = await runDecrypt(receivedText(), $('password').value, {
      provider,
      askRounds: (long) => askRounds(thisRun, long),
      secretKey: () => openTabKey(thisRun),
      stopped: () => thisRun.stopped,
      blockStarting: (index, count) => {
        if (!thisRun.stopped) showProgress({ index, count });
      },
    });
  } finally {
    for (const key of thisRun.keys) key.fill(0);
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
  for (const { sender } of result.blocks) {
    if (!sender) continue;
    sender.digits = await safetyDigits(sender.publicKey, provider);
    sender.isYou = thisRun.ownPublic !== null && sameBytes(sender.publicKey, thisRun.ownPublic);
  }
  if (thisRun.stopped) return;
  showResults(result.blocks);
  // A password, or a key's passphrase, that opened something has done its work.
  if (result.blocks.some((b) => b.text !== undefined && b.kind === 'strong')) $('password').value = '';
  if (result.blocks.some((b) => b.text !== undefined && b.kind === 'recipient')) $('my-key-pass').value = '';
}

// Whether the seal tab writes to keys: the recipients' keys field holds
// something (what it holds is read when sealing).
const sealsToKeys = () => $('seal-to').value.trim() !== '';

function sealForPassword(width) {
  const password = $('seal-password').value;
  const confirmation = $('seal-confirm').disabled ? password : $('seal-confirm').value;
  return sealText($('compose').value, password, confirmation, width, provider);
}

// A recipient block for the keys of the seal-to field, from the key of the
// seal-my-key field or, when that is empty, from a one-off key. The
// sender's key is wiped once used.
async function sealForKeys(width) {
  const found = await keyBlocksIn($('seal-to').value, provider);
  if (found.problem) return { outcome: 'recipient_keys_unreadable', message: 'recipientKeysUnreadable' };
  let sender = null;
  if ($('seal-my-key').value.trim() !== '') {
    const taken = await secretKeyOfField($('seal-my-key').value, $('seal-my-key-pass').value, provider);
    if (!taken.key) {
      return { outcome: 'sender_key', message: (t) => t.senderKeyProblem(t.keyProblems[taken.problem]) };
    }
    sender = taken.key;
  }
  try {
    return await sealTextForKeys($('compose').value, found.keys.map((k) => k.publicKey), sender, width, provider);
  } finally {
    sender?.fill(0);
  }
}

// The seal tab as its recipients' keys field says: their names and digits
// under it; with keys, the sender's fields shown, the one-off sender said
// when no key of the user's is given, and the password fields out of use.
let sealToReading = 0;
async function onSealTo() {
  const mine = ++sealToReading;
  const text = $('seal-to').value;
  showSealMode();
  const found = text.trim() === '' ? null : await keyBlocksIn(text, provider);
  if (mine !== sealToReading) return;
  lastSealTo = found;
  showKeyList($('seal-to-digits'), found, texts, 'sealToHeading');
}

function showSealMode() {
  const toKeys = sealsToKeys();
  $('seal-sender').hidden = !toKeys;
  $('one-off-sender').hidden = !toKeys || $('seal-my-key').value.trim() !== '';
  $('seal-password-note').hidden = !toKeys;
  for (const id of ['seal-password', 'seal-confirm', 'show-seal-password', 'generate-passphrase', 'passphrase-kana']) {
    $(id).disabled = toKeys || (id === 'seal-confirm' && $('show-seal-password').checked);
  }
}

// The question before sealing an empty text (a paste that did not
// happen, most likely); Stop is the default. The answer, or false when
// the page is cleared meanwhile.
let answerEmpty = null;
async function askEmptyText() {
  $('empty-question').hidden = false;
  $('seal').disabled = true;
  $('empty-stop').focus();
  const goOn = await new Promise((resolve) => { answerEmpty = resolve; });
  answerEmpty = null;
  $('empty-question').hidden = true;
  $('seal').disabled = false;
  return goOn;
}

async function onSeal() {
  // The question is being asked (an open run that ended enabled the button).
  if (answerEmpty) return;
  showMessage('seal-message', null);
  showSealed(null);
  const clearing = clearings;
  if ($('compose').value === '' && !(await askEmptyText())) {
    if (clearing === clearings) $('compose').focus();
    return;
  }
  const width = wrapWidth($('width').value);
  $('width').value = String(width);
  const toKeys = sealsToKeys();
  const sealed = await busy('seal-busy', () => (toKeys ? sealForKeys(width) : sealForPassword(width)));
  if (clearing !== clearings) return;
  if (sealed.outcome !== 'sealed') {
    showMessage('seal-message', sealed.message ?? PROBLEM_TEXT[sealed.outcome]);
    return;
  }
  if (toKeys) {
    $('seal-my-key-pass').value = '';
  } else {
    $('seal-password').value = '';
    $('seal-confirm').value = '';
  }
  // The block in view and selected, ready to copy: Copy has the focus.
  const shown = showSealed(sealed.block);
  $('sealed').scrollIntoView({ block: 'center' });
  if (!shown.cut) $('sealed').setSelectionRange(0, $('sealed').value.length);
  shown.copy.focus({ preventScroll: true });
}

// A received mail saved as a file, read here (never sent anywhere) into
// the received box.
async function readReceivedFile(file) {
  showMessage('open-message', null);
  showFileRead(null);
  if (file.size > LONGEST_RECEIVED_FILE) {
    showMessage('open-message', 'fileTooLarge');
    return;
  }
  const clearing = clearings;
  let text;
  try {
    text = receivedFileText(file.name, new Uint8Array(await file.arrayBuffer()));
  } catch {
    if (clearing === clearings) showMessage('open-message', 'fileUnreadable');
    return;
  }
  if (clearing !== clearings) return;
  setReceived(text);
  showFileRead(file.name);
  $('password').focus();
}

// Files dropped on the received box are read; dropped anywhere else they
// are refused, so that the browser does not leave the page to show them.
function takeDroppedFiles() {
  const hasFiles = (event) => event.dataTransfer && [...event.dataTransfer.types].includes('Files');
  $('received').addEventListener('dragover', (event) => {
    if (!hasFiles(event)) return;
    event.preventDefault();
    event.dataTransfer.dropEffect = 'copy';
  });
  $('received').addEventListener('drop', (event) => {
    if (!hasFiles(event)) return;
    event.preventDefault();
    event.stopPropagation();
    const [file] = event.dataTransfer.files;
    if (file) readReceivedFile(file);
  });
  for (const type of ['dragover', 'drop']) {
    window.addEventListener(type, (event) => {
      if (!hasFiles(event)) return;
      event.preventDefault();
      event.dataTransfer.dropEffect = 'none';
    });
  }
}

// "消去": every text, password and result goes from the page, and any run
// or question ends. Every text field and password field in the markup is
// emptied, so a field added there is too; what the script holds is let go
// here.
function clearPage() {
  clearings++;
  stopRun();
  if (answerEmpty) answerEmpty(false);
  for (const field of document.querySelectorAll('textarea, input[type="password"], input[type="text"]')) {
    if (field.readOnly) field.textContent = '';
    else field.value = '';
  }
  $('received-file').value = '';
  heldReceived = null;
  showHeldReceived();
  for (const box of [$('show-password'), $('show-seal-password'), $('show-key-pass')]) {
    if (box.checked) box.click();
  }
  showResults([]);
  showSealed(null);
  showFileRead(null);
  for (const id of Object.keys(lastMessages)) showMessage(id, null);
  sealToReading++;
  lastSealTo = null;
  showKeyList($('seal-to-digits'), null, texts);
  showSealMode();
  for (const field of keyFields) field.clear();
  keys.clear();
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

// The fields that take the user's secret key, and the keys tab.
let keyFields = [];
let keys = null;

function start() {
  keyFields = [
    keyField({ field: 'my-key', button: 'my-key-file-button', input: 'my-key-file', note: 'my-key-file-note' },
      currentTexts),
    keyField({
      field: 'seal-my-key', button: 'seal-my-key-file-button', input: 'seal-my-key-file', note: 'seal-my-key-file-note',
    }, currentTexts),
  ];
  keys = keysTab({ texts: currentTexts, provider, busy, showMessage, clearings: () => clearings });
  $('seal-to').addEventListener('input', onSealTo);
  $('seal-my-key').addEventListener('input', showSealMode);
  $('my-key').addEventListener('input', () => showMessage('my-key-message', null));
  $('lang-ja').addEventListener('click', () => showLanguage('ja'));
  $('lang-en').addEventListener('click', () => showLanguage('en'));
  $('clear-page').addEventListener('click', clearPage);
  keyboardTabs(document.querySelector('[role="tablist"]'));
  $('received-file-button').addEventListener('click', () => $('received-file').click());
  $('received-file').addEventListener('change', () => {
    const [file] = $('received-file').files;
    if (file) readReceivedFile(file);
    $('received-file').value = '';
  });
  takeDroppedFiles();
  $('received').addEventListener('input', () => {
    showFileRead(null);
    heldReceived = null;
    showHeldReceived();
  });
  $('received').addEventListener('paste', onReceivedPaste);
  $('empty-continue').addEventListener('click', () => answerEmpty?.(true));
  $('empty-stop').addEventListener('click', () => answerEmpty?.(false));
  $('open').addEventListener('click', onOpen);
  $('open-cancel').addEventListener('click', stopRun);
  $('rounds-stop').addEventListener('click', stopRun);
  $('rounds-continue').addEventListener('click', () => {
    if (run && run.answer) run.answer(true);
  });
  $('seal').addEventListener('click', onSeal);
  $('generate-passphrase').addEventListener('click', onGeneratePassphrase);
  // Enter in a password field presses the tab's button, as in a dialog.
  for (const [field, button] of [['password', 'open'], ['my-key-pass', 'open'], ['seal-password', 'seal'],
    ['seal-confirm', 'seal'], ['seal-my-key-pass', 'seal'], ['key-pass', 'make-key'], ['key-pass-confirm', 'make-key']]) {
    $(field).addEventListener('keydown', (e) => {
      if (e.key === 'Enter' && !e.isComposing && !$(button).disabled) $(button).click();
    });
  }
  showPasswords($('show-password'), $('password'));
  showPasswords($('show-seal-password'), $('seal-password'), $('seal-confirm'));
  showPasswords($('show-key-pass'), $('key-pass'), $('key-pass-confirm'));
  showLanguage(texts.lang);
  selectTab($('tab-open'));
  // Outside a secure context (a page served over plain http from another
  // host, some embedded viewers) there is no WebCrypto: say so at once.
  if (!globalThis.crypto || !globalThis.crypto.subtle) {
    showMessage('open-message', 'noCrypto');
    showMessage('seal-message', 'noCrypto');
    showMessage('key-message', 'noCrypto');
    $('open').disabled = true;
    $('seal').disabled = true;
    $('make-key').disabled = true;
  }
}

start();
