// The settings dialog face of the main window: the state of its controls,
// filling them from the store (loadsettei), the checks and writes of OK,
// and Cancel. The Win32 dialog mirrors `controls` into its controls.
#pragma once

#include <string>

#include "tray/program_state.h"
#include "tray/shell/desktop.h"

namespace quiren {

class ClipboardWatch;

// Option1: the encryption password source.
enum class AngoChoice { fixed = 0, ask = 1, list = 2 };
// Option2: the decryption password source.
enum class HukugoChoice { fixed = 0, ask = 1, equalpass = 2, list = 3 };

struct SettingsControls {
  std::u16string txtorikaesi = u"60";
  std::u16string txtpass1;
  std::u16string txtpass2;
  AngoChoice option1 = AngoChoice::ask;
  HukugoChoice option2 = HukugoChoice::ask;
  bool check1 = true;          // watch the clipboard
  bool chkquestango = true;    // ask before encrypting
  bool chkquesthukugo = true;  // ask before decrypting
};

class SettingsDialog {
 public:
  SettingsDialog(ProgramState& state, Desktop& desktop, ClipboardWatch& watch);

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
