// The keys tab: make a key (its key block with Copy and Save, its safety
// digits, the secret key sealed under the passphrase with Save and the
// advice to keep it), and check the key blocks one received by their
// digits. The page keeps no key: what it shows goes with Clear or when the
// page is closed.

import { makeKey } from './new_key.mjs';
import { keyBlocksIn } from './received_keys.mjs';
import { showKeyList } from './key_list.mjs';
import { showText, textActions, saveText } from './text_actions.mjs';
import { rowsFor } from './long_text.mjs';

const $ = (id) => document.getElementById(id);

// What each refusal of makeKey is called in the texts.
const PROBLEM_TEXT = {
  name_forbidden: 'nameForbidden',
  name_too_long: 'nameTooLong',
  name_not_encodable: 'nameNotEncodable',
  empty_password: 'emptyPassphrase',
  password_too_long: 'passphraseTooLong',
  password_not_encodable: 'passphraseNotEncodable',
  passwords_differ: 'passphrasesDiffer',
  random_unavailable: 'randomUnavailable',
  crypto_failed: 'cryptoFailed',
};

// `page`: { texts() the page's texts now, provider, busy(spinnerId, work),
// showMessage(id, key), clearings() the count of the page's clearings }.
export function keysTab(page) {
  let made = null;     // the key last made: { keyBlock, digits, sealedSecret }
  let checked = null;  // keyBlocksIn's result for the key-check field
  let checking = 0;    // the key-check field's latest reading

  function showMade() {
    const result = $('my-key-result');
    result.hidden = made === null;
    for (const old of result.querySelectorAll('.text-actions.copy-row')) old.remove();
    $('my-digits').textContent = made ? made.digits : '';
    if (made === null) {
      $('my-public').textContent = '';
      $('my-secret').textContent = '';
      return null;
    }
    for (const [id, text] of [['my-public', made.keyBlock], ['my-secret', made.sealedSecret]]) {
      showText($(id), text);
      $(id).rows = rowsFor(text);
    }
    const { keyBlock } = made;
    const actions = textActions($('my-public'), {
      text: () => keyBlock, cut: () => false, fileName: () => page.texts().savedKeyBlockName, texts: page.texts,
    });
    actions.copy.id = 'copy-my-public';
    actions.row.classList.add('copy-row');
    $('my-public').after(actions.row);
    return actions;
  }

  async function onMakeKey() {
    page.showMessage('key-message', null);
    made = null;
    showMade();
    const clearing = page.clearings();
    const confirmation = $('key-pass-confirm').disabled ? $('key-pass').value : $('key-pass-confirm').value;
    const result = await page.busy('key-busy',
      () => makeKey($('key-name').value, $('key-pass').value, confirmation, page.provider));
    if (clearing !== page.clearings()) return;
    if (result.outcome !== 'made') {
      page.showMessage('key-message', PROBLEM_TEXT[result.outcome]);
      return;
    }
    $('key-pass').value = '';
    $('key-pass-confirm').value = '';
    made = { keyBlock: result.keyBlock, digits: result.digits, sealedSecret: result.sealedSecret };
    showMade();
    // The secret key's file first: the page forgets it when closed.
    $('my-key-result').scrollIntoView({ block: 'start' });
    $('save-my-secret').focus({ preventScroll: true });
  }

  async function onKeyCheck() {
    const mine = ++checking;
    const text = $('key-check').value;
    const found = text.trim() === '' ? null : await keyBlocksIn(text, page.provider);
    if (mine !== checking) return;
    checked = found;
    showKeyList($('key-check-digits'), checked, page.texts());
  }

  $('make-key').addEventListener('click', onMakeKey);
  $('save-my-secret').addEventListener('click', () => {
    if (made) saveText(made.sealedSecret, page.texts().savedSecretName);
  });
  $('key-check').addEventListener('input', onKeyCheck);

  return {
    // The tab anew in the page's language.
    show() {
      showMade();
      showKeyList($('key-check-digits'), checked, page.texts());
    },
    clear() {
      made = null;
      checked = null;
      checking++;
      showMade();
      showKeyList($('key-check-digits'), null, page.texts());
    },
  };
}
