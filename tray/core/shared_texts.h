// Texts that more than one part of the tray shows word for word. Each part's
// own text header names them beside its other texts.
#pragma once

#include <string_view>

#include "block/block_rules.h"
#include "block/composed_text.h"

namespace quiren::core::texts {

// The caption of every message box and prompt unless a window names another.
inline constexpr std::u16string_view kAppTitle = u"む～くいれん";

// The buttons of the settings dialog, the about window and the input prompt.
inline constexpr std::u16string_view kButtonOk = u"OK";
inline constexpr std::u16string_view kButtonCancel = u"キャンセル";

// The progress window of a run that takes a while (its button is
// kButtonCancel). {block} is the block being opened, from 1, of {blocks}.
inline constexpr std::u16string_view kProgressEncrypting = u"暗号化しています…";
inline constexpr std::u16string_view kProgressDecrypting = u"復号しています… ({block}/{blocks})";

// A password longer than the limit of the block about to be written, typed
// or chosen. (Its words say "the limit or more"; the limit itself is
// accepted.)
inline constexpr auto kPasswordTooLongText =
    block::compose(u"", block::kLongestCompatiblePassword, u"文字以上のパスワードは利用できません。");
inline constexpr std::u16string_view kPasswordTooLong = kPasswordTooLongText.view();
inline constexpr auto kStrongPasswordTooLongText =
    block::compose(u"", block::kLongestStrongPassword, u"文字以上のパスワードは利用できません。");
inline constexpr std::u16string_view kStrongPasswordTooLong = kStrongPasswordTooLongText.view();
constexpr std::u16string_view password_too_long(bool strong_block) {
  return strong_block ? kStrongPasswordTooLong : kPasswordTooLong;
}

// The password prompt: the box that shows what is typed, the second field
// that must repeat it, and what a differing repetition says.
inline constexpr std::u16string_view kShowPassword = u"パスワードを表示する";
inline constexpr std::u16string_view kConfirmPassword = u"確認のためもう一度入力して下さい";
inline constexpr std::u16string_view kPasswordsDiffer =
    u"確認のために入力したパスワードが一致しません。もう一度入力して下さい。";

// The settings dialog's box that refuses compatible blocks, which the
// decrypt flow's refusal names.
inline constexpr std::u16string_view kReadStrongOnly = u"強力な暗号文だけを読む";

// The button that fills a password field with a generated passphrase, the
// choice of its form beside it, and what a failed random source says.
inline constexpr std::u16string_view kGeneratePassphrase = u"パスワードを生成";
inline constexpr std::u16string_view kPassphraseInKana = u"ひらがなで作る";
inline constexpr std::u16string_view kPassphraseFailed =
    u"安全な乱数を取得できなかったため、パスワードを生成できませんでした。";

// "宛先を選ぶ" in the encrypt prompt, and the marks after a contact's name
// there and in the viewer's status line: whether the user compared the
// key's safety digits with its holder.
inline constexpr std::u16string_view kChooseRecipients = u"宛先を選ぶ";
inline constexpr std::u16string_view kContactConfirmed = u"（確認済み）";
inline constexpr std::u16string_view kContactUnconfirmed = u"（未確認）";

}  // namespace quiren::core::texts
