// The program-wide values of the tray program: one instance, created at
// start-up and handed to every window and flow.
#pragma once

#include <cstdint>
#include <string>

#include "tray/core/busy.h"
#include "tray/core/settings_keys.h"

namespace quiren {

// The in-memory copies of the start-up settings, replaced only by the
// settings dialog's OK. Fresh values are the store's defaults. Their keys in
// the store: settings_keys.h.
struct SettingValues {
  std::int16_t wrap_width = settings::kDefaultWrapWidth;  // of a written block
  bool encrypt_with_fixed_password = settings::kDefaultEncryptWithFixedPassword;
  bool decrypt_with_fixed_password = settings::kDefaultDecryptWithFixedPassword;
  bool decrypt_with_encrypt_password = settings::kDefaultDecryptWithEncryptPassword;  // the fixed one
  // The two questions are stored as numbers, and the earlier version read
  // them differently: any value but 0 asks before encrypting, only 1 asks
  // before decrypting. The dialog writes 1 or 0; a value edited by hand
  // keeps the meaning it had.
  std::uint8_t ask_before_encrypt = settings::kDefaultAskBeforeEncrypt;
  std::uint8_t ask_before_decrypt = settings::kDefaultAskBeforeDecrypt;
  bool encrypt_password_from_list = settings::kDefaultEncryptPasswordFromList;
  bool decrypt_password_from_list = settings::kDefaultDecryptPasswordFromList;
  bool strong = settings::kDefaultStrong;  // encrypt into strong blocks
  bool strong_only = settings::kDefaultStrongOnly;  // refuse compatible blocks unread

  bool asks_before_encrypting() const { return ask_before_encrypt != 0; }
  bool asks_before_decrypting() const { return ask_before_decrypt == 1; }

  friend bool operator==(const SettingValues&, const SettingValues&) = default;
};

struct ProgramState {
  Busy busy;
  std::u16string version_text;
  SettingValues settings;
};

}  // namespace quiren
