// Every text the page shows, in Japanese and in English. The Japanese
// texts the program also shows are word for word the program's; where a
// block is damaged, the English follows the command-line tool's words.
// Lines and characters are counted in the text the user pasted. Numbers
// come from the rules (block_rules.mjs), as the program's texts take them
// from its own.

import { LONGEST_TEXT, LONGEST_PASSWORD } from './block_rules.mjs';
import { LONGEST_RECEIVED_FILE } from './received_file.mjs';
import { LONGEST_KEY_NAME, MOST_RECIPIENTS } from './keys_layout.mjs';
import { LONGEST_KEY_FILE } from './key_file.mjs';

const MEGABYTES = LONGEST_TEXT >> 20;
const FILE_MEGABYTES = LONGEST_RECEIVED_FILE >> 20;
const KEY_FILE_MEGABYTES = LONGEST_KEY_FILE >> 20;

export const PAGE_TEXTS = {
  ja: {
    lang: 'ja',
    title: 'む～くいれん 暗号文リーダー',
    promise: 'このページは何も送信しません。暗号化も復号も、この端末の中だけで行います。',
    clearPage: '消去',
    clearPageTitle: 'このページに入力した文章とパスワード、鍵、表示した結果をすべて消します',
    tabOpen: '復号する',
    tabSeal: '暗号化する',
    tabKeys: '鍵',
    // What to do first, one line at the top of each tab; the last step names
    // the tab's button by its label.
    steps: {
      open: ['受け取ったメールを貼り付ける', 'パスワードか、あなたの鍵を入力する', '「復号」を押す'],
      seal: ['送る文章を入力する', 'パスワードを 2 回入力するか、宛先の鍵を貼り付ける', '「暗号化」を押して暗号文を送る'],
      keys: ['名前を入力する', 'パスフレーズを決めて 2 回入力する', '「鍵を作る」を押し、鍵ブロックを相手に送る'],
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
    // The open tab's key: for blocks written to the user's key.
    myKeyHeading: '鍵宛ての暗号文を開くとき',
    myKeyLabel: 'あなたの鍵（鍵を作ったときに保存した秘密鍵のファイルを選ぶか、その中身を貼り付けて下さい）',
    keyFile: '秘密鍵のファイルを開く',
    myKeyPassLabel: '秘密鍵のパスフレーズ',
    keyFileTooLarge: `このファイルは${KEY_FILE_MEGABYTES}MBを超えていて大きすぎるため、秘密鍵として読み込めません。`,
    // Why the key given could not be taken (key_file.mjs, secretKeyOfField);
    // the blocks written to keys then need a key.
    keyProblems: {
      no_secret_key: '「あなたの鍵」の欄に秘密鍵がありません。鍵を作ったときに保存したファイルを選んで下さい。',
      passphrase_needed: '秘密鍵のパスフレーズを入力して下さい。',
      wrong_passphrase: '秘密鍵のパスフレーズが違うか、秘密鍵のファイルが途中で変更されています。',
      damaged: '秘密鍵のファイルが壊れているため読めません。',
      later_format: '秘密鍵のファイルは新しい形式で作られているため、このページでは読めません。',
      refused_settings: '秘密鍵のファイルは、このページが受け付けない設定で作られているため読みません。',
      failed: 'ブラウザーの暗号機能でエラーが発生したため、秘密鍵を読めませんでした。',
    },
    // Under a text opened with a key: who wrote it, by their key's safety
    // digits, and when their clock said it was.
    senderLine: (digits, time) => `差出人の安全番号: ${digits}（${time} に作成）`,
    senderIsYou: '差出人はあなた自身の鍵です。',
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
    sealToLabel: '宛先の鍵（相手から受け取った鍵ブロックを貼り付けると、パスワードなしで暗号化します）',
    sealToHeading: 'この鍵に宛てて暗号化します（安全番号を確かめて下さい）:',
    sealMyKeyLabel: 'あなたの鍵（差出人として。秘密鍵のファイルを選ぶか、その中身を貼り付けて下さい）',
    sealMyKeyPassLabel: '秘密鍵のパスフレーズ',
    oneOffSender: 'あなたの鍵を指定しないと、その場限りの鍵で暗号化します。受け取った人には、誰も知らない差出人として表示されます。',
    passwordNotUsed: '宛先の鍵があるため、パスワードは使いません。',
    sealPasswordLabel: '暗号化に使うパスワード',
    sealConfirmLabel: '確認のためもう一度入力して下さい',
    widthLabel: '1 行の文字数（10～100）',
    seal: '暗号化',
    askEmptyText: '暗号化する文章が空です。空のまま暗号化しますか？',
    sealedLabel: '暗号文（メールの本文などに貼り付けて送って下さい）',
    noBlock: '暗号文が見つかりません。(quiren_start) から (quiren_end) までを貼り付けて下さい。',
    // The keys tab.
    keysIntro: '鍵を使うと、パスワードを送らずに暗号文をやり取りできます。あなたの鍵を一度作って鍵ブロックを相手に送り、' +
      '安全番号を電話や対面で一度読み合わせて下さい。',
    makeKeyHeading: 'あなたの鍵を作る',
    keyNameLabel: '名前（鍵ブロックに入れて相手に見せる名前。省略できます）',
    keyPassLabel: '秘密鍵を守るパスフレーズ',
    keyPassConfirmLabel: '確認のためもう一度入力して下さい',
    showPassphrase: 'パスフレーズを表示する',
    makeKey: '鍵を作る',
    myPublicLabel: 'あなたの鍵ブロック（メールなどで相手に送って下さい）',
    myDigitsLabel: 'あなたの安全番号（相手と電話や対面で一度読み合わせて下さい）',
    mySecretLabel: 'あなたの秘密鍵（パスフレーズで暗号化してあります）',
    saveSecret: '秘密鍵をファイルに保存',
    secretAdvice: 'この秘密鍵のファイルを必ず保存して、大切に保管して下さい。このページは閉じるとすべてを忘れます。' +
      'ファイルとパスフレーズがなければ、あなた宛ての暗号文は誰にも開けません。ファイルは誰にも渡さないで下さい。',
    savedKeyBlockName: '鍵ブロック.txt',
    savedSecretName: '秘密鍵.txt',
    keyCheckHeading: '受け取った鍵を確かめる',
    keyCheckLabel: '受け取った鍵ブロックを貼り付けて下さい（いくつでも）',
    keyCheckHint: 'ここに出る数字が、鍵の持ち主が読み上げる安全番号と一致すれば、その鍵は本人のものです。',
    keyListLine: (name, digits) => `${name}: ${digits}`,
    noName: '（名前なし）',
    noKeyBlock: '鍵ブロックが見つかりません。',
    // A pasted key block that does not read, by its outcome.
    keyBlockOutcomes: {
      damaged: '鍵ブロックが壊れているため読めません。',
      later_format: 'この鍵ブロックは新しい形式で作られているため、このページでは読めません。',
      refused_settings: 'この鍵ブロックの名前は受け付けられません（長すぎるか、ほかの名前に見せかけられる制御文字や方向指定の文字を含んでいます）。',
      failed: 'ブラウザーの暗号機能でエラーが発生したため、鍵ブロックを読めませんでした。',
    },
    nameForbidden: '名前に、制御文字や文字の向きを変える文字は使えません。',
    nameTooLong: `名前は UTF-8 で ${LONGEST_KEY_NAME} バイトまでです（漢字やかなで 21 文字まで）。短くして下さい。`,
    nameNotEncodable: '名前に、不完全な文字が含まれています。',
    emptyPassphrase: 'パスフレーズを入力して下さい。秘密鍵はパスフレーズで守ります。',
    passphraseTooLong: `パスフレーズは${LONGEST_PASSWORD}文字までです。短くして下さい。`,
    passphrasesDiffer: '確認のために入力したパスフレーズが一致しません。',
    passphraseNotEncodable: 'パスフレーズに、不完全な文字が含まれているため使えません。',
    // Sealing for keys.
    recipientKeysUnreadable: '宛先の鍵ブロックを読めないため、暗号化しませんでした。',
    noRecipientKey: '宛先の鍵に、鍵ブロックが見つかりません。',
    tooManyRecipients: `1 つの暗号文の宛先は、あなたを含めて ${MOST_RECIPIENTS} 人までです。`,
    recipientKeyRefused: '宛先の鍵に、誰も持てない鍵が含まれているため、暗号化しませんでした。',
    senderKeyProblem: (problem) => `差出人の鍵を使えないため、暗号化しませんでした。${problem}`,
    noPassword: 'パスワードを入力して下さい。',
    // What a block that gave no text came to, by its outcome (outcome.mjs;
    // SILENT_OUTCOMES there are never shown).
    outcomes: {
      wrong_password: 'パスワードが違うか、暗号文が途中で変更されています',
      not_for_this_key: 'この暗号文はあなた宛てではないか、途中で変更されています',
      needs_key: 'この暗号文は宛先の鍵で暗号化されています。開くには、宛先の人の鍵が必要です。「あなたの鍵」に秘密鍵を指定して下さい。',
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
    clearPageTitle: 'Clears every text, password and key typed into this page, and the results shown',
    tabOpen: 'Decrypt',
    tabSeal: 'Encrypt',
    tabKeys: 'Keys',
    steps: {
      open: ['Paste the mail you received', 'Type the password, or give your key', 'Press "Decrypt"'],
      seal: ['Type the text to send', "Type a password twice, or paste the recipients' keys",
        'Press "Encrypt" and send the block'],
      keys: ['Type your name', 'Choose a passphrase and type it twice', 'Press "Make a key" and send your key block'],
    },
    receivedLabel: 'Paste the text you received (the part with the block)',
    receivedFile: 'Open a saved mail (.txt, .eml)',
    fileRead: (name) => `Read "${name}".`,
    longReceived: (shown, total) => `A long text: only its first ${shown} characters are shown (of ${total}). Decrypt reads all of it.`,
    fileTooLarge: `This file is larger than ${FILE_MEGABYTES} MiB and cannot be read.`,
    fileUnreadable: 'This file could not be read.',
    passwordLabel: 'Password',
    showPassword: 'Show the password',
    myKeyHeading: 'For blocks written to your key',
    myKeyLabel: 'Your key (choose the secret key file you saved when you made your key, or paste what it holds)',
    keyFile: 'Open your secret key file',
    myKeyPassLabel: "Your secret key's passphrase",
    keyFileTooLarge: `This file is larger than ${KEY_FILE_MEGABYTES} MiB and cannot be a secret key.`,
    keyProblems: {
      no_secret_key: 'The "Your key" field holds no secret key: choose the file you saved when you made your key.',
      passphrase_needed: "Type your secret key's passphrase.",
      wrong_passphrase: 'Wrong passphrase for the secret key, or the key file was changed on the way.',
      damaged: 'The secret key file is damaged and cannot be read.',
      later_format: 'The secret key file is in a later format that this page cannot read.',
      refused_settings: 'The secret key file was made with settings this page refuses.',
      failed: "The browser's cryptography failed; the secret key was not read.",
    },
    senderLine: (digits, time) => `From the key with the safety digits ${digits}, written ${time}`,
    senderIsYou: 'The sender is your own key.',
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
    sealToLabel: "Recipients' keys (paste the key blocks you received to encrypt without a password)",
    sealToHeading: 'Encrypting to these keys (check their safety digits):',
    sealMyKeyLabel: 'Your key, as the sender (choose your secret key file, or paste what it holds)',
    sealMyKeyPassLabel: "Your secret key's passphrase",
    oneOffSender: 'Without your key, the page encrypts with a one-off key it makes and forgets: the recipients will see a sender nobody knows.',
    passwordNotUsed: "Not used: the block is written to the recipients' keys.",
    sealPasswordLabel: 'Password to encrypt with',
    sealConfirmLabel: 'Type it again to confirm',
    widthLabel: 'Characters per line (10–100)',
    seal: 'Encrypt',
    askEmptyText: 'The text to encrypt is empty. Encrypt it anyway?',
    sealedLabel: 'The block (paste it into the body of a mail or a message)',
    noBlock: 'No block found. Paste everything from (quiren_start) to (quiren_end).',
    keysIntro: 'With keys, no password needs to travel: make your key once, send your key block to the people who ' +
      'write to you, and read out its safety digits with them once, by phone or in person.',
    makeKeyHeading: 'Make your key',
    keyNameLabel: 'Your name (shown to those who get your key block; may be left empty)',
    keyPassLabel: 'A passphrase to protect your secret key',
    keyPassConfirmLabel: 'Type it again to confirm',
    showPassphrase: 'Show the passphrase',
    makeKey: 'Make a key',
    myPublicLabel: 'Your key block (send it to others by mail or chat)',
    myDigitsLabel: 'Your safety digits (read them out with the other person once, by phone or in person)',
    mySecretLabel: 'Your secret key (sealed under your passphrase)',
    saveSecret: 'Save the secret key as a file',
    secretAdvice: 'Save this secret key file and keep it safe: this page forgets everything when it is closed, and ' +
      'without the file and its passphrase nobody can open the blocks written to you. Give the file to no one.',
    savedKeyBlockName: 'key-block.txt',
    savedSecretName: 'secret-key.txt',
    keyCheckHeading: 'Check a key you received',
    keyCheckLabel: 'Paste the key blocks you received (any number)',
    keyCheckHint: "When the digits shown here match those the key's holder reads out to you, the key is theirs.",
    keyListLine: (name, digits) => `${name}: ${digits}`,
    noName: '(no name)',
    noKeyBlock: 'No key block found.',
    keyBlockOutcomes: {
      damaged: 'The key block is damaged and cannot be read.',
      later_format: 'This key block is in a later format that this page cannot read.',
      refused_settings: "The key block's name is refused: too long, or holding a control character or a direction mark that could make it look like another.",
      failed: "The browser's cryptography failed; the key block was not read.",
    },
    nameForbidden: 'A name cannot hold control characters or characters that change the direction of text.',
    nameTooLong: `A name may be up to ${LONGEST_KEY_NAME} bytes of UTF-8: shorten it.`,
    nameNotEncodable: 'The name holds a broken character (half of a surrogate pair).',
    emptyPassphrase: 'Type a passphrase: it protects your secret key.',
    passphraseTooLong: `Passphrases may be up to ${LONGEST_PASSWORD} characters long: shorten it.`,
    passphrasesDiffer: 'The two passphrases differ.',
    passphraseNotEncodable: 'The passphrase holds a broken character (half of a surrogate pair) and cannot be used.',
    recipientKeysUnreadable: "A recipient's key block cannot be read: nothing was encrypted.",
    noRecipientKey: 'No key block found among the recipients\' keys.',
    tooManyRecipients: `A block is for at most ${MOST_RECIPIENTS} keys, yours included.`,
    recipientKeyRefused: "A recipient's key is not one anyone could hold: nothing was encrypted.",
    senderKeyProblem: (problem) => `Your key as the sender cannot be used, so nothing was encrypted. ${problem}`,
    noPassword: 'Type the password.',
    outcomes: {
      wrong_password: 'Wrong password, or the block was changed on the way',
      not_for_this_key: 'Not addressed to your key, or the block was changed on the way',
      needs_key: "This block was written to people's keys and opens only with the recipient's key: give yours under \"Your key\".",
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
