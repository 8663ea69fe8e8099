// Every key of the settings store (application "mu-quiren", section
// "settei") with its default, in one place: the one map between the
// program's names for its settings and the names the store keeps, which
// are the earlier version's, so that a store it wrote reads the same.
// Readers and writers name keys only through these constants;
// docs/settings-keys.md lists them for the reader.
#pragma once

#include <cstdint>
#include <string_view>

#include "block/block_rules.h"

namespace quiren::settings {

inline constexpr std::u16string_view kApplication = u"mu-quiren";
inline constexpr std::u16string_view kSection = u"settei";

// Read into memory at start-up (SettingValues).
inline constexpr std::u16string_view kWrapWidth = u"orikaesi";
inline constexpr std::u16string_view kEncryptWithFixedPassword = u"ango";
inline constexpr std::u16string_view kDecryptWithFixedPassword = u"hukugo";
inline constexpr std::u16string_view kDecryptWithEncryptPassword = u"equalpass";
inline constexpr std::u16string_view kEncryptPasswordFromList = u"usepasslist1";
inline constexpr std::u16string_view kDecryptPasswordFromList = u"usepasslist2";
inline constexpr std::u16string_view kStrong = u"strong";
// "強力な暗号文だけを読む": compatible blocks are refused unread.
inline constexpr std::u16string_view kStrongOnly = u"strongonly";
inline constexpr std::u16string_view kAskBeforeEncrypt = u"quest1";
inline constexpr std::u16string_view kAskBeforeDecrypt = u"quest2";
// Read from the store when needed.
inline constexpr std::u16string_view kFixedEncryptPassword = u"angopass";  // plain text
inline constexpr std::u16string_view kFixedDecryptPassword = u"hukugopass";  // plain text
// "パスワードをこのユーザーだけが読める形で保存する": the fixed passwords kept
// sealed for this Windows user beside the plain values (tray/core/
// fixed_passwords.h), the password list file written sealed.
inline constexpr std::u16string_view kProtectPasswords = u"protectpasswords";
inline constexpr std::u16string_view kProtectedEncryptPassword = u"protectedangopass";  // sealed, as text
inline constexpr std::u16string_view kProtectedDecryptPassword = u"protectedhukugopass";  // sealed, as text
inline constexpr std::u16string_view kWatchClipboard = u"hock";
inline constexpr std::u16string_view kViewerWidth = u"width";    // twips
inline constexpr std::u16string_view kViewerHeight = u"height";  // twips
// The form of generated passphrases, as the user last picked it beside a
// "パスワードを生成" button: hiragana words instead of English ones.
inline constexpr std::u16string_view kPassphraseInKana = u"kanapassphrase";
// The user's own key (the secret key text sealed for this Windows user, as
// text), the name it goes by, and the contacts (tray/keys/key_store.h).
inline constexpr std::u16string_view kMyKey = u"mykey";
inline constexpr std::u16string_view kMyName = u"myname";
inline constexpr std::u16string_view kContacts = u"contacts";
// Whom the last text was encrypted to in the encrypt prompt's "宛先を選ぶ":
// the contacts' public keys, each in base64 without padding
// (stored_public_key.h), separated by single spaces; empty when it went
// under a password (tray/core/recipient_choice.h).
inline constexpr std::u16string_view kEncryptToKeys = u"encrypttokeys";

// Defaults for absent keys.
inline constexpr std::int16_t kDefaultWrapWidth = block::kDefaultWrap;
// The wrap width as the settings dialog shows it when nothing is stored.
inline constexpr std::u16string_view kDefaultWrapWidthText = u"60";
constexpr bool spells_decimal(std::u16string_view text, int n) {
  int value = 0;
  for (char16_t c : text) value = value * 10 + (c - u'0');
  return value == n;
}
static_assert(spells_decimal(kDefaultWrapWidthText, kDefaultWrapWidth));
inline constexpr bool kDefaultEncryptWithFixedPassword = false;
inline constexpr bool kDefaultDecryptWithFixedPassword = false;
inline constexpr bool kDefaultDecryptWithEncryptPassword = false;
inline constexpr bool kDefaultEncryptPasswordFromList = false;
inline constexpr bool kDefaultDecryptPasswordFromList = false;
// Secure by default: a user whose recipients still run the earlier version
// switches it off.
inline constexpr bool kDefaultStrong = true;
// Off, so that blocks from recipients who have not upgraded still open.
inline constexpr bool kDefaultStrongOnly = false;
inline constexpr std::uint8_t kDefaultAskBeforeEncrypt = 1;
inline constexpr std::uint8_t kDefaultAskBeforeDecrypt = 1;
inline constexpr std::u16string_view kDefaultFixedEncryptPassword = u"";
inline constexpr std::u16string_view kDefaultFixedDecryptPassword = u"";
inline constexpr int kDefaultWatchClipboard = 1;
inline constexpr int kDefaultViewerWidth = 8910;
inline constexpr int kDefaultViewerHeight = 5865;
inline constexpr bool kDefaultPassphraseInKana = false;
// Off, so that copies of the earlier version sharing the store and the list
// file go on reading the passwords.
inline constexpr bool kDefaultProtectPasswords = false;

}  // namespace quiren::settings
