// Every text the clipboard cipher flows show: questions, prompts, refusals,
// warnings and the texts they put into the viewer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "block/block_rules.h"
#include "block/composed_text.h"
#include "block/filled_text.h"
#include "block/keys/keys_layout.h"
#include "tray/core/shared_texts.h"

namespace quiren::flows::texts {

// Encrypt flow.
inline constexpr std::u16string_view kAskEncrypt = u"クリップボードの内容を暗号化しますか？";
inline constexpr std::u16string_view kTextTooLong = u"20KB以上のテキストを暗号化することはできません";
inline constexpr std::u16string_view kPromptEncryptPassword = u"暗号化に使うパスワードを入力して下さい";
// The prompt that only offers "宛先を選ぶ", when the password would come from
// the settings (the fixed one) or the password list.
inline constexpr std::u16string_view kPromptRecipientsOrFixed =
    u"宛先を選んで下さい。誰も選ばなければ、設定のパスワードで暗号化します";
inline constexpr std::u16string_view kPromptRecipientsOrList =
    u"宛先を選んで下さい。誰も選ばなければ、パスワード一覧から選んだパスワードで暗号化します";
// After the chooser gave no pick (with the full stop) and on the plain
// typed-password path (without it); the fixed-password path shares the
// latter.
inline constexpr std::u16string_view kNoPasswordAfterChooser =
    u"パスワードが入力されなかった為、処理を中止します。";
inline constexpr std::u16string_view kNoPasswordTyped = u"パスワードが入力されなかった為、処理を中止します";
inline constexpr std::u16string_view kPasswordTooLong = core::texts::kPasswordTooLong;
inline constexpr std::u16string_view kStrongPasswordTooLong = core::texts::kStrongPasswordTooLong;
using core::texts::password_too_long;
// A fixed password kept sealed for another Windows user or on another
// computer (or damaged): neither flow uses it.
inline constexpr std::u16string_view kFixedPasswordUnreadable =
    u"設定に保存されているパスワードは、別のユーザーか別のパソコンでこのユーザーだけが読める形にされたもの"
    u"（または壊れたもの）のため、読めません。設定でパスワードを入力し直して下さい。";
inline constexpr std::u16string_view kEncryptMayHaveFailed = u"暗号化が正常に行われなかった可能性があります";
// The closing message names the format written; a compatible block's has
// kCompatibleUnprotected on a line of its own under it.
inline constexpr std::u16string_view kEncryptedStrong =
    u"強力な暗号化で暗号化した文章をクリップボードに書き込みました";
inline constexpr std::u16string_view kEncryptedCompatible = u"互換形式で暗号化した文章をクリップボードに書き込みました";
// A recipient block's: {recipients} are the ticked contacts' names,
// kRecipientNamesJoint between them; the writer can always read it too.
inline constexpr std::u16string_view kEncryptedToRecipients =
    u"宛先指定の暗号化で、{recipients} とあなた宛てに暗号化した文章をクリップボードに書き込みました";
inline constexpr std::u16string_view kRecipientNamesJoint = u"、";
inline constexpr auto kTooManyRecipientsText =
    block::compose(u"宛先は", block::kMostRecipients - 1, u"人までしか選べないため、暗号化できません。");
inline constexpr std::u16string_view kTooManyRecipients = kTooManyRecipientsText.view();
// The user's key gone while the prompt was open.
inline constexpr std::u16string_view kNoKeyToWriteAs =
    u"あなたの鍵がないため、宛先を選んで暗号化できません。クリップボードの内容は変更していません。";
// A contact's key that no one can hold (X25519 of low order).
inline constexpr std::u16string_view kRecipientKeyRefused =
    u"宛先の鍵に使えないものが含まれているため、暗号化できません。その宛先の鍵を受け取り直して下さい。";
inline constexpr std::u16string_view kTextNotInCodePage =
    u"この文章には、このパソコンの文字コードで表せない文字が含まれているため、暗号化できません。";
// A strong block carries any text, but not a broken one (a lone half of a
// surrogate pair), which UTF-8 cannot hold.
inline constexpr std::u16string_view kTextNotEncodable =
    u"この文章には、暗号化できない不完全な文字が含まれているため、暗号化できません。";
inline constexpr std::u16string_view kRandomUnavailable =
    u"安全な乱数を取得できなかったため、暗号化を中止しました。クリップボードの内容は変更していません。";
inline constexpr std::u16string_view kCryptoFailed =
    u"暗号化の処理でエラーが発生したため、暗号化を中止しました。クリップボードの内容は変更していません。";
inline constexpr auto kTextTooLongToEncryptText =
    block::compose(u"この文章は", block::kLongestText >> 20, u"MBを超えていて長すぎるため、暗号化できません。");
inline constexpr std::u16string_view kTextTooLongToEncrypt = kTextTooLongToEncryptText.view();
inline constexpr std::u16string_view kPasswordNotInCodePage =
    u"パスワードに、このパソコンの文字コードで表せない文字が含まれているため、暗号化できません。";
inline constexpr std::u16string_view kLibraryMissing =
    u"暗号ライブラリ quiren.dll を読み込めなかった為、暗号化できません。";
inline constexpr std::u16string_view kClipboardNotWritten =
    u"クリップボードに書き込めなかった為、暗号化した文章を書き込めませんでした。";

// Decrypt flow.
inline constexpr std::u16string_view kAskDecrypt = u"クリップボードの内容を復号しますか？";
inline constexpr std::u16string_view kLaterFormat =
    u"このバージョンでは入力された暗号文を復号できません。最新のバージョンを利用してください。";
// A compressed block whose text came back empty under the right password:
// its writer compressed it with a shared code table.
inline constexpr std::u16string_view kNeedsSharedTable =
    u"この暗号文は共有の圧縮表（DfFugoList.lst）を使って作られているため、同じファイルがないと復号できません。"
    u"作成した人から同じ DfFugoList.lst を受け取り、このプログラムと同じフォルダーに置いてください。";
// A strong block with settings readers refuse: a weakened key (too few
// rounds), a key derivation or cipher this version does not know, or so
// many rounds that it would tie the program up. Upgrading is no answer.
inline constexpr std::u16string_view kRefusedSettings =
    u"この暗号文は、安全でない設定か、このバージョンが受け付けない設定で作られているため復号しません。";
// Compatible blocks refused unread under "強力な暗号文だけを読む": said once,
// after the other blocks' texts are shown. {blocks} is their number,
// {setting} the box's name (core::texts::kReadStrongOnly).
inline constexpr std::u16string_view kCompatibleRefused =
    u"互換形式の暗号文 {blocks} 件は、途中で変更されたかどうかを確かめられないため、復号せずに拒否しました"
    u"（設定「{setting}」）。";
// Before the password, when the strong blocks ask for more than
// block::kRoundBudget rounds of key derivation together; No is the default.
// {blocks} is their number, {time} the estimate (kAboutSeconds or
// kAboutMinutes).
inline constexpr std::u16string_view kAskLongRun =
    u"この文章の暗号文 {blocks} 件の復号には時間がかかります（約 {time}）。続けますか？";
inline constexpr std::u16string_view kAboutSeconds = u"{n} 秒";
inline constexpr std::u16string_view kAboutMinutes = u"{n} 分";
inline constexpr std::u16string_view kOverLimit =
    u"復号した文章が大きすぎるため、これ以降の暗号文は復号しませんでした。";
inline constexpr std::u16string_view kPromptDecryptPassword = u"復号に使うパスワードを入力して下さい";
inline constexpr std::u16string_view kInvalidCiphertext = u"暗号文が不正です。復号を中止します。";
// The line under kInvalidCiphertext that says where the block is damaged,
// when that can be told. Lines and characters are counted in the copied
// text; {line}, {column}, {character} and {code} (hex) are filled in.
inline constexpr std::u16string_view kDamageForeignCharacter =
    u"{line} 行目の {column} 文字目「{character}」(U+{code}) は暗号文に使われない文字です。";
inline constexpr std::u16string_view kDamageInvisibleCharacter =
    u"{line} 行目の {column} 文字目にある見えない文字 (U+{code}) は暗号文に使われない文字です。";
inline constexpr std::u16string_view kDamageShortLine =
    u"{line} 行目がほかの行より短くなっています。文字が欠けていないか確かめてください。";
inline constexpr std::u16string_view kDamageUnevenLength =
    u"暗号文の文字数が合いません。{line} 行目（最後の行）までのどこかで文字が欠けているか、増えています。";
// Shown in the viewer in place of a block whose check fails: a compatible
// block's, a strong block's (block::not_opened_text picks).
inline constexpr std::u16string_view kWrongPassword = block::kWrongPasswordText;
inline constexpr std::u16string_view kStrongNotOpened = block::kStrongNotOpenedText;
// Shown in the viewer in place of a recipient block that did not open under
// the user's key: addressed to others, or changed on the way.
inline constexpr std::u16string_view kNotForThisKey = block::kNotForThisKeyText;
// Shown in the viewer in place of a recipient block: this version of the
// tray program keeps no key to open one with.
inline constexpr std::u16string_view kNeedsKey = block::kNeedsKeyText;

// The viewer's status line: the text's blocks by format (the password
// blocks' counts when it holds any; the recipient blocks' count beside them,
// or alone unless every recipient block opened), then the senders of the
// recipient blocks that opened, then, when any block was compatible, the warning; the
// joint between those parts. A text of recipient blocks alone that all
// opened names only their senders: "差出人: 田中（確認済み）2026-12-11 18:30".
inline constexpr std::u16string_view kViewerFormats = u"強力な暗号化 {strong} 件、互換形式 {compatible} 件";
inline constexpr std::u16string_view kViewerRecipientsBeside = u"、宛先指定 {recipient} 件";
inline constexpr std::u16string_view kViewerRecipients = u"宛先指定 {recipient} 件";
inline constexpr std::u16string_view kViewerSenders = u"差出人: {senders}";
inline constexpr std::u16string_view kViewerSendersJoint = u"、";
inline constexpr std::u16string_view kViewerFormatsJoint = u"。";
// A recipient block's sender: the user's own key, a contact (by name and
// whether the digits were compared, core::texts::kContactConfirmed), or a
// key among neither, followed by the first two groups of its safety digits
// and "…". The time written follows, in this computer's time zone
// (kSenderTime: {year}-{month}-{day} {hour}:{minute}, two digits each but
// the year), after a space unless the name ends in a full-width bracket.
inline constexpr std::u16string_view kSenderYou = u"あなた";
inline constexpr std::u16string_view kSenderUnknownKey = u"確認していない鍵";
inline constexpr std::u16string_view kSenderDigitsCut = u"…";
inline constexpr std::u16string_view kSenderTime = u"{year}-{month}-{day} {hour}:{minute}";
inline constexpr std::u16string_view kCompatibleUnprotected = u"互換形式の暗号文は改ざんを検出できません";

// The encrypt flow's closing message, which names the format written.
inline std::u16string encrypted_message(bool strong) {
  if (strong) return std::u16string(kEncryptedStrong);
  return std::u16string(kEncryptedCompatible).append(u"\r\n").append(kCompatibleUnprotected);
}

// The closing message of a recipient block: the ticked contacts named.
inline std::u16string encrypted_to_message(const std::vector<std::u16string>& names) {
  std::u16string joined;
  for (const std::u16string& name : names) {
    if (!joined.empty()) joined += kRecipientNamesJoint;
    joined += name;
  }
  return block::filled(kEncryptedToRecipients, {{"recipients", joined}});
}

// The viewer's context menu.
inline constexpr std::u16string_view kMenuUndo = u"元に戻す(&U)";
inline constexpr std::u16string_view kMenuCut = u"切り取り(&T)";
inline constexpr std::u16string_view kMenuCopy = u"コピー(&C)";
inline constexpr std::u16string_view kMenuPaste = u"貼り付け(&P)";
inline constexpr std::u16string_view kMenuDelete = u"削除(&D)";
inline constexpr std::u16string_view kMenuSelectAll = u"すべて選択(&A)";

}  // namespace quiren::flows::texts
