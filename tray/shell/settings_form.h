// The settings dialog face of the main window: the state of its controls,
// filling them from the store (load), the checks and writes of OK,
// and Cancel. The Win32 dialog mirrors `controls` into its controls.
#pragma once

#include <string>

#include "block/secret.h"
#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"

namespace quiren {

class ClipboardWatch;

enum class EncryptPasswordSource { fixed, ask, list };
enum class DecryptPasswordSource { fixed, ask, same_as_encrypt, list };

// The designed state of the controls before their first filling: what an
// empty store gives.
struct SettingsControls {
  std::u16string wrap_width{settings::kDefaultWrapWidthText};  // as typed
  block::SecretText encrypt_password{settings::kDefaultFixedEncryptPassword};
  block::SecretText decrypt_password{settings::kDefaultFixedDecryptPassword};
  EncryptPasswordSource encrypt_source = EncryptPasswordSource::ask;
  DecryptPasswordSource decrypt_source = DecryptPasswordSource::ask;
  bool watch_clipboard = settings::kDefaultWatchClipboard == 1;
  bool ask_before_encrypt = settings::kDefaultAskBeforeEncrypt == 1;
  bool ask_before_decrypt = settings::kDefaultAskBeforeDecrypt == 1;
  bool strong = settings::kDefaultStrong;  // encrypt into strong blocks
  bool show_passwords = false;  // the two password boxes in the clear; never stored

  friend bool operator==(const SettingsControls&, const SettingsControls&) = default;
};

class SettingsForm {
 public:
  SettingsForm(ProgramState& state, Desktop& desktop, ClipboardWatch& watch);

  // Fills the controls from the store.
  void load();
  // OK: false when a check failed (its message shown, nothing saved, the
  // dialog stays open); true when saved and the dialog is to be hidden.
  bool ok();
  // The dialog is hidden: the passwords the boxes held are wiped (the next
  // opening reads them from the store again).
  void forget_passwords();

  SettingsControls controls;

 private:
  bool fail(std::u16string_view text, Icon icon);

  ProgramState& state_;
  Desktop& desktop_;
  ClipboardWatch& watch_;
};

}  // namespace quiren
