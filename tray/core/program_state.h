// The program-wide values of the tray program: one instance, created at
// start-up and handed to every window and flow.
#pragma once

#include <cstdint>
#include <string>

#include "tray/core/busy.h"
#include "tray/core/settings_keys.h"

namespace quiren {

// True/false values shared between windows are 16-bit: -1 true, 0 false.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// In-memory Boolean: -1 true, 0 false.
inline constexpr std::int16_t to_flag(bool value) { return value ? kTrue : kFalse; }

// The in-memory copies of the start-up settings, replaced only by the
// settings dialog's OK. Fresh values are the store's defaults.
struct SettingValues {
  std::int16_t orikaesi = settings::kDefaultOrikaesi;                    // wrap width of a block
  std::int16_t ango = to_flag(settings::kDefaultAngo);                   // encrypt with the fixed password
  std::int16_t hukugo = to_flag(settings::kDefaultHukugo);               // decrypt with the fixed password
  std::int16_t equalpass = to_flag(settings::kDefaultEqualpass);         // decrypt with the encryption password
  std::uint8_t quest1 = settings::kDefaultQuest1;                        // ask before encrypting
  std::uint8_t quest2 = settings::kDefaultQuest2;                        // ask before decrypting
  std::int16_t usepasslist1 = to_flag(settings::kDefaultUsepasslist1);  // encryption password from the list
  std::int16_t usepasslist2 = to_flag(settings::kDefaultUsepasslist2);  // decryption password from the list
  std::int16_t strong = to_flag(settings::kDefaultStrong);               // encrypt into strong blocks

  friend bool operator==(const SettingValues&, const SettingValues&) = default;
};

struct ProgramState {
  Busy busy;
  std::u16string versiontext;
  SettingValues settings;
};

}  // namespace quiren
