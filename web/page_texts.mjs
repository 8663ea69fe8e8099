// Every text the page shows, in Japanese and in English. The Japanese
// texts the program also shows are word for word the program's; where a
// block is damaged, the English follows the command-line tool's words.
// Lines and characters are counted in the text the user pasted. Numbers
// come from the rules (block_rules.mjs), as the program's texts take them
// from its own.

import { LONGEST_TEXT, LONGEST_PASSWORD } from './block_rules.mjs';
import { LONGEST_RECEIVED_FILE } from './received_file.mjs';

const MEGABYTES = LONGEST_TEXT >> 20;
const FILE_MEGABYTES = LONGEST_RECEIVED_FILE >> 20;

export const PAGE_TEXTS = {
  ja: {
    lang: 'ja',
    title: 'む～くいれん 暗号文リーダー',
    promise: 'このページは何も送信しません。暗号化も復号も、この端末の中だけで行います。',
    clearPage: '消去',
    clearPageTitle: 'このページに入力した文章とパスワード、表示した結果をすべて消します',
    tabOpen: '復号する',
    tabSeal: '暗号化する',
    // What to do first, one line at the top of each tab; the last step names
    // the tab's button by its label.
    steps: {
      open: ['受け取ったメールを貼り付ける', 'パスワードを入力する', '「復号」を押す'],
      seal: ['送る文章を入力する', 'パスワードを決めて 2 回入力する', '「暗号化」を押して暗号文を送る'],
    },
    receivedLabel: '受け取った文章（暗号文を含む部分）を貼り付けて下さい',
    receivedFile: '保存したメールを開く（.txt、.eml）',
    fileRead: (name) => `「${name}」を読み込みました。`,
    longReceived: (shown, total) =>
      `長い文章のため、最初の ${shown} 文字だけを表示しています（全体は ${total} 文字）。「復号」は全体を読みます。`,
    fileTooLarge: `このファイルは${FILE_MEGABYTES}MBを超えていて大きすぎるため、読み込めません。`,
    fileUnreadable: 'このファイルを読み込めませんでした。',
    passwordLabel: 'パスワード',
    showPassword: 'パスワードを表示する',
    open: '復号',
    busy: '処理しています…',
    // While the blocks of a text are opened, as the program's progress window.
    busyBlock: (n, count) => `復号しています… (${n}/${count})`,
    stop: '中止',
    continue: '続ける',
    // Before a long run, as the program asks it; Stop is the default.
    askLongRun: (blocks, time) => `この文章の暗号文 ${blocks} 件の復号には時間がかかります（約 ${time}）。続けますか？`,
    aboutSeconds: (n) => `${n} 秒`,
    aboutMinutes: (n) => `${n} 分`,
    textHeading: (n) => `${n} 番目の文章`,
    copy: 'コピー',
    copied: 'コピーしました',
    // When the browser refuses the clipboard: the text is selected instead.
    copyByKeys: 'Ctrl+C でコピーしてください',
    copyLongByFile: 'この文章は長いため一部しか表示していません。「ファイルに保存」で全体を保存してください',
    clipboardHistory: 'コピーした文章は、クリップボードの履歴（Windows の Win+V など）に残ることがあります。',
    save: 'ファイルに保存',
    // File names of the texts saved.
    savedTextName: (n) => `復号した文章-${n}.txt`,
    savedBlockName: '暗号文.txt',
    longText: (shown, total) =>
      `長い文章のため、最初の ${shown} 文字だけを表示しています（全体は ${total} 文字）。「コピー」と「ファイルに保存」は全体が対象です。`,
    composeLabel: '暗号化する文章',
    sealPasswordLabel: '暗号化に使うパスワード',
    sealConfirmLabel: '確認のためもう一度入力して下さい',
    widthLabel: '1 行の文字数（10～100）',
    seal: '暗号化',
    askEmptyText: '暗号化する文章が空です。空のまま暗号化しますか？',
    sealedLabel: '暗号文（メールの本文などに貼り付けて送って下さい）',
    noBlock: '暗号文が見つかりません。(quiren_start) から (quiren_end) までを貼り付けて下さい。',
    noPassword: 'パスワードを入力して下さい。',
    // What a block that gave no text came to, by its outcome (outcome.mjs;
    // SILENT_OUTCOMES there are never shown).
    outcomes: {
      wrong_password: 'パスワードが違うか、暗号文が途中で変更されています',
      compatible: 'この暗号文は以前の形式（互換形式）で作られているため、む～くいれん本体でしか復号できません。',
      later_format: 'この暗号文は新しい形式で作られているため、このページでは復号できません。最新のページを利用して下さい。',
      refused_settings: 'この暗号文は、安全でない設定か、このバージョンが受け付けない設定で作られているため復号しません。',
      damaged: '暗号文が不正です。復号を中止します。',
      over_limit: '復号した文章が大きすぎるため、これ以降の暗号文は復号しませんでした。',
      failed: 'ブラウザーの暗号機能でエラーが発生したため、処理を中止しました。',
    },
    damageForeignCharacter: (line, column, character, code) =>
      `${line} 行目の ${column} 文字目「${character}」(U+${code}) は暗号文に使われない文字です。`,
    damageInvisibleCharacter: (line, column, code) =>
      `${line} 行目の ${column} 文字目にある見えない文字 (U+${code}) は暗号文に使われない文字です。`,
    damageShortLine: (line) => `${line} 行目がほかの行より短くなっています。文字が欠けていないか確かめてください。`,
    damageUnevenLength: (line) =>
      `暗号文の文字数が合いません。${line} 行目（最後の行）までのどこかで文字が欠けているか、増えています。`,
    cryptoFailed: 'ブラウザーの暗号機能でエラーが発生したため、処理を中止しました。',
    noCrypto: 'このブラウザーでは暗号機能を使えません。ファイルをこの端末に保存してから、最新のブラウザーで開いて下さい。',
    emptyPassword: 'パスワードが入力されなかった為、処理を中止します',
    passwordTooLong: `パスワードは${LONGEST_PASSWORD}文字までです。短くして下さい。`,
    passwordsDiffer: '確認のために入力したパスワードが一致しません。',
    passwordNotEncodable: 'パスワードに、暗号化できない不完全な文字が含まれているため、暗号化できません。',
    textNotEncodable: 'この文章には、暗号化できない不完全な文字が含まれているため、暗号化できません。',
    textTooLong: `この文章は${MEGABYTES}MBを超えていて長すぎるため、暗号化できません。`,
    randomUnavailable: '安全な乱数を取得できなかったため、暗号化を中止しました。',
    generatePassphrase: 'パスワードを生成',
    passphraseKana: 'ひらがなで作る',
    passphraseFailed: '安全な乱数を取得できなかったため、パスワードを生成できませんでした。',
    wordListCredits: 'パスワード生成の単語リスト: EFF Large Wordlist © Electronic Frontier Foundation (CC BY 3.0)、' +
      'BIP-39 日本語単語リスト © Pavol Rusnak (MIT License)',
  },
  en: {
    lang: 'en',
    title: 'mu-quiren block reader',
    promise: 'This page sends nothing anywhere: it encrypts and decrypts on this device only.',
    clearPage: 'Clear',
    clearPageTitle: 'Clears every text and password typed into this page, and the results shown',
    tabOpen: 'Decrypt',
    tabSeal: 'Encrypt',
    steps: {
      open: ['Paste the mail you received', 'Type the password', 'Press "Decrypt"'],
      seal: ['Type the text to send', 'Choose a password and type it twice', 'Press "Encrypt" and send the block'],
    },
    receivedLabel: 'Paste the text you received (the part with the block)',
    receivedFile: 'Open a saved mail (.txt, .eml)',
    fileRead: (name) => `Read "${name}".`,
    longReceived: (shown, total) => `A long text: only its first ${shown} characters are shown (of ${total}). Decrypt reads all of it.`,
    fileTooLarge: `This file is larger than ${FILE_MEGABYTES} MiB and cannot be read.`,
    fileUnreadable: 'This file could not be read.',
    passwordLabel: 'Password',
    showPassword: 'Show the password',
    open: 'Decrypt',
    busy: 'Working…',
    busyBlock: (n, count) => `Decrypting… (${n}/${count})`,
    stop: 'Stop',
    continue: 'Continue',
    askLongRun: (blocks, time) =>
      `Decrypting the ${blocks} ${blocks === 1 ? 'block' : 'blocks'} of this text takes a while (about ${time}). Go on?`,
    aboutSeconds: (n) => `${n} ${n === 1 ? 'second' : 'seconds'}`,
    aboutMinutes: (n) => `${n} ${n === 1 ? 'minute' : 'minutes'}`,
    textHeading: (n) => `Text ${n}`,
    copy: 'Copy',
    copied: 'Copied',
    copyByKeys: 'Press Ctrl+C to copy',
    copyLongByFile: 'Only the beginning of this long text is shown: use "Save as a file" to keep all of it',
    clipboardHistory: 'A copied text may stay in the clipboard history (Win+V on Windows, for example).',
    save: 'Save as a file',
    savedTextName: (n) => `decrypted-text-${n}.txt`,
    savedBlockName: 'encrypted-block.txt',
    longText: (shown, total) =>
      `A long text: only its first ${shown} characters are shown (of ${total}). Copy and Save as a file take all of it.`,
    composeLabel: 'Text to encrypt',
    sealPasswordLabel: 'Password to encrypt with',
    sealConfirmLabel: 'Type it again to confirm',
    widthLabel: 'Characters per line (10–100)',
    seal: 'Encrypt',
    askEmptyText: 'The text to encrypt is empty. Encrypt it anyway?',
    sealedLabel: 'The block (paste it into the body of a mail or a message)',
    noBlock: 'No block found. Paste everything from (quiren_start) to (quiren_end).',
    noPassword: 'Type the password.',
    outcomes: {
      wrong_password: 'Wrong password, or the block was changed on the way',
      compatible: 'This block is in the earlier (compatible) format: only the mu-quiren program can open it.',
      later_format: 'This block is in a later format that this page cannot read. Use the latest page.',
      refused_settings: 'This block was made with settings this page refuses (too few or too many rounds of key derivation, or an unknown key derivation or cipher): it is not decrypted.',
      damaged: 'The block is damaged and cannot be read.',
      over_limit: 'The decrypted texts are too large; the blocks from here on were not decrypted.',
      failed: "The browser's cryptography failed; nothing was done.",
    },
    damageForeignCharacter: (line, column, character, code) =>
      `Line ${line}, character ${column}: "${character}" (U+${code}) is not a character blocks are written in.`,
    damageInvisibleCharacter: (line, column, code) =>
      `Line ${line}, character ${column}: an invisible character (U+${code}) is not a character blocks are written in.`,
    damageShortLine: (line) => `Line ${line} is shorter than the other lines of the block: characters are missing there.`,
    damageUnevenLength: (line) =>
      `The block's length does not come out even: characters are missing or extra up to line ${line}, its last.`,
    cryptoFailed: "The browser's cryptography failed; nothing was done.",
    noCrypto: "This browser offers no cryptography here. Save the file on this device and open it in a current browser.",
    emptyPassword: 'No password was typed; nothing was encrypted.',
    passwordTooLong: `Passwords may be up to ${LONGEST_PASSWORD} characters long: shorten it.`,
    passwordsDiffer: 'The two passwords differ.',
    passwordNotEncodable: 'The password holds a broken character (half of a surrogate pair) and cannot be used.',
    textNotEncodable: 'The text holds a broken character (half of a surrogate pair) and cannot be encrypted.',
    textTooLong: `The text is longer than ${MEGABYTES} MiB and cannot be encrypted.`,
    randomUnavailable: "The browser's random source failed; nothing was encrypted.",
    generatePassphrase: 'Generate a passphrase',
    passphraseKana: 'In hiragana',
    passphraseFailed: "The browser's random source failed; no passphrase was made.",
    wordListCredits: 'Passphrase word lists: EFF Large Wordlist © Electronic Frontier Foundation (CC BY 3.0); ' +
      'BIP-39 Japanese wordlist © Pavol Rusnak (MIT License)',
  },
};

// Japanese unless the browser's first language is another.
export function defaultLanguage(languages) {
  const first = (languages && languages[0]) || 'ja';
  return first.toLowerCase().startsWith('ja') ? 'ja' : 'en';
}
