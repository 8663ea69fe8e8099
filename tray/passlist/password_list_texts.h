// Every text the password list window shows: captions, prompts, messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tray/core/shared_texts.h"

namespace quiren::passlist::texts {

inline constexpr std::u16string_view kEditorCaption = u"パスワードリストの編集";
inline constexpr std::u16string_view kChooserCaption = u"パスワードを選択して下さい。";
inline constexpr std::u16string_view kPromptTitle = u"パスワードリストの編集";
inline constexpr std::u16string_view kPasswordPrompt = u"パスワードを入力して下さい。";
inline constexpr std::u16string_view kDescriptionPrompt = u"パスワードの説明を入力して下さい";

inline constexpr std::u16string_view kListHeading = u"現在登録されているパスワード";
inline constexpr std::u16string_view kDescriptionHeading = u"パスワードの説明";
inline constexpr std::u16string_view kAddButton = u"新規登録";
inline constexpr std::u16string_view kDeleteButton = u"削除";
inline constexpr std::u16string_view kSaveButton = u"保存";
inline constexpr std::u16string_view kShowPasswords = core::texts::kShowPassword;

inline constexpr std::u16string_view kTooLong = core::texts::kStrongPasswordTooLong;
inline constexpr std::u16string_view kEmptyList =
    u"パスワードリストにパスワードがひとつも登録されていません。";
inline constexpr std::u16string_view kSaveQuestion = u"変更を保存しますか？";

// The file keeps each field between double quotes, one field a line, so a
// quote or a line break inside a field would break the file.
inline constexpr std::u16string_view kQuoteRefused =
    u"パスワードと説明には「\"」と改行は利用できません。";
// Characters outside the ANSI code page would be stored as "?".
inline constexpr std::u16string_view kCharacterRefused =
    u"パスワードリストに保存できない文字が含まれています。";
inline constexpr std::u16string_view kListFull = u"これ以上パスワードを登録できません。";
inline constexpr std::u16string_view kSaveFailed =
    u"パスワードリストを保存できませんでした。";
inline constexpr std::u16string_view kReadFailed =
    u"パスワードリストを読み込めませんでした。";
// A list sealed for another Windows user or on another computer (or
// damaged): reported, the window closes, the file is never written over.
inline constexpr std::u16string_view kSealedUnreadable =
    u"パスワードリスト（quiren.pas）は、別のユーザーか別のパソコンでこのユーザーだけが読める形にされたもの"
    u"（または壊れたもの）のため、読み込めません。ファイルは書き換えません。";
// "パスワードをこのユーザーだけが読める形で保存する" is ticked, and the system
// refused to seal the list.
inline constexpr std::u16string_view kNotSealed =
    u"パスワードリストをこのユーザーだけが読める形にできなかったため、保存しませんでした。";


// A file that did not read whole: said once as the window opens, with the
// number of entries listed. The editor also says where the original goes.
inline std::u16string damaged_list(std::int32_t entries_shown, bool editor) {
  std::u16string count;
  std::uint32_t n = entries_shown < 0 ? 0u : static_cast<std::uint32_t>(entries_shown);
  do {
    count.insert(count.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  std::u16string text = u"パスワードリストの一部を読み込めませんでした。読み込めた " + count + u" 件を表示します。";
  if (editor) text += u"保存するときは、元のファイルを quiren.pas.bak として残します。";
  return text;
}
// The save over a damaged file, refused because its original cannot be kept.
inline constexpr std::u16string_view kBackupTaken =
    u"quiren.pas.bak が既にあるため、元のファイルを残せません。保存しませんでした。"
    u"quiren.pas.bak を別の場所に移してから、もう一度保存して下さい。";
inline constexpr std::u16string_view kBackupFailed =
    u"元のファイルを quiren.pas.bak として残せなかったため、保存しませんでした。";
// A hidden or system quiren.pas reads as no list; writing over it would
// replace a file the user has set apart.
inline constexpr std::u16string_view kNotPlainRefused =
    u"quiren.pas が隠しファイルかシステムファイル（またはフォルダー）のため、パスワードリストを保存できません。";

}  // namespace quiren::passlist::texts
