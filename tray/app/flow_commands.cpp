#include "tray/app/flow_commands.h"

#include <windows.h>

#include "tray/passlist/win32/password_list_win32.h"

namespace quiren::app {

void PasswordEditorWindow::show() { win32::open_password_list_editor(state_, desktop_); }

void PasswordEditorWindow::close() {
  if (HWND editor = win32::password_list_editor_window()) SendMessageW(editor, WM_CLOSE, 0, 0);
}

bool PasswordEditorWindow::is_open() const { return win32::password_list_editor_window() != nullptr; }

}  // namespace quiren::app
