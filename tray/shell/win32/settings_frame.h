// The settings dialog on Win32: its controls, on the main window, which
// shows itself as the dialog. The logic is SettingsForm; this class creates
// the controls settings_layout.h lists, mirrors the form's state into them
// and takes the typed texts and ticks back.
#pragma once

#include <windows.h>

#include "tray/shell/settings_form.h"
#include "tray/win32kit/dpi.h"

namespace quiren::win32 {

class SettingsFrame {
 public:
  explicit SettingsFrame(SettingsForm& form) : form_(form) {}

  // Creates the controls on `window`.
  void create(HWND window, Dpi dpi, HFONT font);
  // The form's state into the controls.
  void show_form();
  // The typed texts and ticks into the form.
  void take_typed();
  // A click on an option button selects it in the form; false for any
  // other control.
  bool on_option_clicked(int id);
  // A click on the show box shows or masks both password boxes; false for
  // any other control.
  bool on_show_clicked(int id);
  // A click on "パスワードを生成" fills its box with a passphrase in the form
  // ticked beside it and shows both boxes; a click on the strong box enables
  // or disables the buttons. False for any other control.
  bool on_passphrase_clicked(int id);

 private:
  void show_passwords(bool shown);

  SettingsForm& form_;
  HWND window_ = nullptr;
  wchar_t mask_ = L'*';
};

}  // namespace quiren::win32
