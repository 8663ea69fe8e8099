// The settings dialog face of the main window: the state of its controls,
// filling them from the store (loadsettei), the checks and writes of OK,
// and Cancel. The Win32 dialog mirrors `controls` into its controls.
#pragma once

#include <string>

#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"

namespace quiren {

class ClipboardWatch;

// Option1: the encryption password source.
enum class AngoChoice { fixed = 0, ask = 1, list = 2 };
// Option2: the decryption password source.
enum class HukugoChoice { fixed = 0, ask = 1, equalpass = 2, list = 3 };

// The designed state of the controls before their first filling: what an
// empty store gives.
struct SettingsControls {
  std::u16string txtorikaesi{settings::kDefaultOrikaesiText};
  std::u16string txtpass1{settings::kDefaultAngopass};
  std::u16string txtpass2{settings::kDefaultHukugopass};
  AngoChoice option1 = AngoChoice::ask;
  HukugoChoice option2 = HukugoChoice::ask;
  bool check1 = settings::kDefaultHock == 1;          // watch the clipboard
  bool chkquestango = settings::kDefaultQuest1 == 1;  // ask before encrypting
  bool chkquesthukugo = settings::kDefaultQuest2 == 1;  // ask before decrypting
  bool chkstrong = settings::kDefaultStrong;             // encrypt into strong blocks

  friend bool operator==(const SettingsControls&, const SettingsControls&) = default;
};

class SettingsForm {
 public:
  SettingsForm(ProgramState& state, Desktop& desktop, ClipboardWatch& watch);

  // Fills the controls from the store.
  void loadsettei();
  // OK: false when a check failed (its message shown, nothing saved, the
  // dialog stays open); true when saved and the dialog is to be hidden.
  bool Command1_Click();

  SettingsControls controls;

 private:
  bool fail(std::u16string_view text, Icon icon);

  ProgramState& state_;
  Desktop& desktop_;
  ClipboardWatch& watch_;
};

}  // namespace quiren
