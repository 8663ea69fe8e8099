// Every key of the settings store (application "mu-quiren", section
// "settei") with its default, in one place. Readers and writers name keys
// only through these constants.
#pragma once

#include <cstdint>
#include <string_view>

#include "block/block_rules.h"

namespace quiren::settings {

inline constexpr std::u16string_view kApplication = u"mu-quiren";
inline constexpr std::u16string_view kSection = u"settei";

// Read into memory at start-up.
inline constexpr std::u16string_view kOrikaesi = u"orikaesi";        // wrap width
inline constexpr std::u16string_view kAngo = u"ango";                // fixed encryption password
inline constexpr std::u16string_view kHukugo = u"hukugo";            // fixed decryption password
inline constexpr std::u16string_view kEqualpass = u"equalpass";      // decrypt with angopass
inline constexpr std::u16string_view kUsepasslist1 = u"usepasslist1";// encryption password from the list
inline constexpr std::u16string_view kUsepasslist2 = u"usepasslist2";// decryption password from the list
inline constexpr std::u16string_view kStrong = u"strong";            // encrypt into strong blocks
inline constexpr std::u16string_view kQuest1 = u"quest1";            // ask before encrypting
inline constexpr std::u16string_view kQuest2 = u"quest2";            // ask before decrypting
// Read from the store when needed.
inline constexpr std::u16string_view kAngopass = u"angopass";        // plain text
inline constexpr std::u16string_view kHukugopass = u"hukugopass";    // plain text
inline constexpr std::u16string_view kHock = u"hock";                // clipboard watch on
inline constexpr std::u16string_view kWidth = u"width";              // viewer width, twips
inline constexpr std::u16string_view kHeight = u"height";            // viewer height, twips

// Defaults for absent keys.
inline constexpr std::int16_t kDefaultOrikaesi = block::kDefaultWrap;
// The wrap width as the settings dialog shows it when nothing is stored.
inline constexpr std::u16string_view kDefaultOrikaesiText = u"60";
constexpr bool spells_decimal(std::u16string_view text, int n) {
  int value = 0;
  for (char16_t c : text) value = value * 10 + (c - u'0');
  return value == n;
}
static_assert(spells_decimal(kDefaultOrikaesiText, kDefaultOrikaesi));
inline constexpr bool kDefaultAngo = false;
inline constexpr bool kDefaultHukugo = false;
inline constexpr bool kDefaultEqualpass = false;
inline constexpr bool kDefaultUsepasslist1 = false;
inline constexpr bool kDefaultUsepasslist2 = false;
// Secure by default: a user whose recipients still run the earlier version
// switches it off.
inline constexpr bool kDefaultStrong = true;
inline constexpr std::uint8_t kDefaultQuest1 = 1;
inline constexpr std::uint8_t kDefaultQuest2 = 1;
inline constexpr std::u16string_view kDefaultAngopass = u"";
inline constexpr std::u16string_view kDefaultHukugopass = u"";
inline constexpr int kDefaultHock = 1;
inline constexpr int kDefaultWidth = 8910;
inline constexpr int kDefaultHeight = 5865;

}  // namespace quiren::settings
