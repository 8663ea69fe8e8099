// Every text the tray shell shows: window captions, control texts, menu
// captions and message-box texts, in one place.
#pragma once

#include <string_view>

#include "block/block_rules.h"
#include "block/composed_text.h"
#include "tray/core/shared_texts.h"

namespace quiren::shell::texts {

// Program name and version, shown by the splash and the about window.
inline constexpr std::u16string_view kVersionText = u"む～くいれん Ver1.1";
inline constexpr std::u16string_view kTrayTip = u"む～くいれん";

// Start-up.
inline constexpr std::u16string_view kSplashTitle = u"む～くいれん Ver 1.0";
inline constexpr std::u16string_view kSplashCredits = u"(C) 2026 む～くいれん";
inline constexpr std::u16string_view kRunningTwice = u"2重起動は禁止されています";
inline constexpr std::u16string_view kStartupError = u"起動時にエラーが発生しました。起動を中止します。";
// An entry that makes Windows start the program from another path (it was
// moved): {entry} is that path, {program} this program's.
inline constexpr std::u16string_view kLogonEntryElsewhere =
    u"「Windows の起動時に実行する」には、別の場所のプログラムが登録されています。\r\n\r\n"
    u"登録されているプログラム:\r\n{entry}\r\n\r\nこのプログラム:\r\n{program}\r\n\r\n"
    u"このプログラムを起動するように登録を更新しますか？\r\n"
    u"（「いいえ」では登録を変えず、次に起動したときにもう一度お尋ねします）";
inline constexpr std::u16string_view kLogonEntryNotWritten =
    u"「Windows の起動時に実行する」の登録を変更できませんでした。";

// Tray menu, top to bottom (separators have no text).
inline constexpr std::u16string_view kMenuEncrypt = u"クリップボードの内容を暗号化する(&E)";
inline constexpr std::u16string_view kMenuDecrypt = u"クリップボードの内容を復号する(&D)";
inline constexpr std::u16string_view kMenuSettings = u"設定(&C)";
inline constexpr std::u16string_view kMenuPasswordList = u"パスワードリストの編集(&P)";
inline constexpr std::u16string_view kMenuAbout = u"バージョン情報(&A)";
inline constexpr std::u16string_view kMenuExit = u"終了(&X)";

// Settings dialog.
inline constexpr std::u16string_view kSettingsTitle = u"設定";
inline constexpr std::u16string_view kFrameEncrypt = u"暗号化の設定";
inline constexpr std::u16string_view kFrameDecrypt = u"復号の設定";
inline constexpr std::u16string_view kFrameGeneral = u"全般の設定";
inline constexpr std::u16string_view kLabelWrapWidth = u"暗号化した文章の折り返し文字数";
inline constexpr std::u16string_view kLabelEncryptFixed = u"暗号化は常にこのパスワードを利用する";
inline constexpr std::u16string_view kLabelEncryptAsk = u"暗号化する度にパスワードを問い合わせる";
inline constexpr std::u16string_view kLabelEncryptList = u"パスワードをリストから選択する";
inline constexpr std::u16string_view kLabelAskBeforeEncrypt = u"暗号化する前に問い合わせをする";
inline constexpr std::u16string_view kLabelStrong =
    u"強力な暗号化（AES-256-GCM）を使う\r\n※外すと旧版でも読める互換形式（安全性は低い）";
inline constexpr std::u16string_view kLabelSameAsEncrypt = u"暗号化と同じパスワードを利用する";
inline constexpr std::u16string_view kLabelDecryptFixed = u"復号には常にこのパスワードを利用する";
inline constexpr std::u16string_view kLabelDecryptAsk = u"復号する度にパスワードを問い合わせる";
inline constexpr std::u16string_view kLabelDecryptList = u"パスワードをリストから選択する";
inline constexpr std::u16string_view kLabelAskBeforeDecrypt = u"復号する前に問い合わせをする";
inline constexpr std::u16string_view kLabelWatch = u"クリップボードを監視する";
inline constexpr std::u16string_view kLabelStartWithWindows = u"Windows の起動時に実行する";
inline constexpr std::u16string_view kLabelStrongOnly = core::texts::kReadStrongOnly;
inline constexpr std::u16string_view kLabelProtectPasswords = u"パスワードをこのユーザーだけが読める形で保存する";
inline constexpr std::u16string_view kButtonOk = core::texts::kButtonOk;
inline constexpr std::u16string_view kButtonCancel = core::texts::kButtonCancel;

// The settings dialog's OK checks.
inline constexpr std::u16string_view kPasswordTooLong = core::texts::kPasswordTooLong;
inline constexpr std::u16string_view kStrongPasswordTooLong = core::texts::kStrongPasswordTooLong;
using core::texts::password_too_long;
// Beside the two password boxes: both in the clear while it is ticked.
inline constexpr std::u16string_view kLabelShowPasswords = core::texts::kShowPassword;
// Beside each of them, a button that fills it with a generated passphrase,
// and one choice of the passphrase's form for both.
inline constexpr std::u16string_view kButtonGeneratePassphrase = core::texts::kGeneratePassphrase;
inline constexpr std::u16string_view kLabelPassphraseInKana = core::texts::kPassphraseInKana;
inline constexpr std::u16string_view kPassphraseFailed = core::texts::kPassphraseFailed;
inline constexpr auto kBadWrapWidthText = block::compose(u"折り返し文字数は", block::kNarrowestWrap, u"文字以上",
                                                         block::kWidestWrap, u"字以内で設定してください");
inline constexpr std::u16string_view kBadWrapWidth = kBadWrapWidthText.view();
inline constexpr std::u16string_view kFixedPasswordMissing =
    u"\"暗号化は常にこのパスワードを利用する\"を設定している場合はパスワードを入力してください";
// "パスワードをこのユーザーだけが読める形で保存する": a fixed password sealed
// so that it cannot be read here (said as the dialog opens); the system
// refusing to seal them (OK saves nothing); the password list left as it
// was when the box changed.
inline constexpr std::u16string_view kFixedPasswordsUnreadable =
    u"設定に保存されているパスワードは、別のユーザーか別のパソコンでこのユーザーだけが読める形にされたもの"
    u"（または壊れたもの）のため、読めません。空欄で表示しています。\r\n\r\n"
    u"空欄のまま OK を押すと、保存されているパスワードはそのまま残ります。"
    u"新しいパスワードを入力すると、それに置き換えます。";
inline constexpr std::u16string_view kPasswordsNotSealed =
    u"パスワードをこのユーザーだけが読める形にできなかったため、設定を保存しませんでした。";
inline constexpr std::u16string_view kListSealedUnreadable =
    u"パスワードリスト（quiren.pas）は、別のユーザーか別のパソコンでこのユーザーだけが読める形にされたもの"
    u"（または壊れたもの）のため、読めません。書き直さずにそのまま残しました。";
inline constexpr std::u16string_view kListNotSealed =
    u"パスワードリスト（quiren.pas）をこのユーザーだけが読める形に書き直せませんでした。ファイルはそのまま残し、"
    u"「パスワードリストの編集」で次に保存するときにこの形で保存します。";
inline constexpr std::u16string_view kListNotUnsealed =
    u"パスワードリスト（quiren.pas）を誰でも読める元の形に書き直せませんでした。ファイルはそのまま残し、"
    u"「パスワードリストの編集」で次に保存するときに元の形で保存します。";
constexpr std::u16string_view list_not_rewritten(bool sealing) { return sealing ? kListNotSealed : kListNotUnsealed; }
inline constexpr std::u16string_view kSameAsEncryptNeedsFixed =
    u"\"暗号化と同じパスワードを利用する\"は\"暗号化は常にこのパスワードを利用する\"を設定していないと利用できません";

// About window.
inline constexpr std::u16string_view kAboutTitle = u"ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr std::u16string_view kAboutDesignedTitle = u"む～くいれん Ver1.0";
// This release, told apart from the earlier Ver1.1 that cannot read strong
// blocks (the version text itself stays as it was).
inline constexpr std::u16string_view kAboutRelease = u"2026年12月版";
inline constexpr std::u16string_view kAboutStrong = u"強力な暗号化（AES-256-GCM）の暗号文を読み書きできます";
inline constexpr std::u16string_view kAboutAuthor = u"作成: む～くいれん 開発チーム 2026";
inline constexpr std::u16string_view kAboutContact =
    u"連絡先: 配布した担当者まで\r\n説明書: 同梱の docs\\guide-ja.md";
// OpenSSL's licence travels in the zip as LICENSE-OpenSSL.txt.
inline constexpr std::u16string_view kAboutCredits =
    u"暗号化ライブラリ: quiren.dll\r\nOpenSSL（Apache License 2.0）を使用しています";
// The word lists of generated passphrases, and their licences (the EFF
// list's asks to be credited).
inline constexpr std::u16string_view kAboutWordListCredits =
    u"パスワード生成の単語リスト:\r\n"
    u"EFF Large Wordlist © Electronic Frontier Foundation (CC BY 3.0)\r\n"
    u"BIP-39 日本語単語リスト © Pavol Rusnak (MIT License)";

}  // namespace quiren::shell::texts
