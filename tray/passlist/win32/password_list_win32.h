// The password list window on Win32: the modeless editor the tray menu
// opens and the modal chooser the cipher flows call. The editor and a
// chooser may be open at once (the chooser then shows the file as saved).
#pragma once

#include <windows.h>

#include "tray/passlist/password_chooser.h"
#include "tray/program_state.h"
#include "tray/shell/desktop.h"

namespace quiren::win32 {

// Opens the editor modelessly (busyflag -1, selectmode untouched), or brings
// it to the front when it is already open, without reading the file again.
void open_password_list_editor(ProgramState& state, Desktop& desktop);
// The editor's window while it is open, else null.
HWND password_list_editor_window();
// For the caller's message loop: Tab and focus handling of the open
// password list windows. True when the message was handled.
bool password_list_dialog_message(MSG& msg);

class Win32PasswordChooser : public PasswordChooser {
 public:
  Win32PasswordChooser(ProgramState& state, Desktop& desktop) : state_(state), desktop_(desktop) {}
  // Runs its own message loop until the chooser closes. A WM_QUIT met while
  // waiting closes the chooser (nothing picked) and is posted again.
  void choosepass() override;

 private:
  ProgramState& state_;
  Desktop& desktop_;
};

}  // namespace quiren::win32
