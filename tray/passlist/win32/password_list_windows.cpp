#include "tray/passlist/win32/password_list_windows.h"

#include <windows.h>

#include "tray/passlist/win32/password_list_frame.h"
#include "tray/win32kit/dialog_message.h"

namespace quiren::win32 {

PasswordEditor::PasswordEditor(ProgramState& state, Desktop& desktop) : state_(state), desktop_(desktop) {}

PasswordEditor::~PasswordEditor() = default;

void PasswordEditor::show() {
  if (is_open()) {
    frame_->bring_to_front();
    return;
  }
  frame_ = std::make_unique<PasswordListFrame>(PasswordListMode::editor, state_.busy, desktop_);
  frame_->open();
}

void PasswordEditor::close() {
  if (is_open()) SendMessageW(frame_->hwnd(), WM_CLOSE, 0, 0);
}

bool PasswordEditor::is_open() const { return frame_ && frame_->is_open(); }

std::optional<block::SecretText> Win32PasswordChooser::choose_password() {
  PasswordListFrame chooser(PasswordListMode::chooser, state_.busy, desktop_);
  if (!chooser.open()) return std::nullopt;
  MSG msg;
  bool quit = false;
  int quit_code = 0;
  while (chooser.is_open()) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      quit = got == 0;
      quit_code = static_cast<int>(msg.wParam);
      SendMessageW(chooser.hwnd(), WM_CLOSE, 0, 0);
      break;
    }
    if (dialog_message(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (quit) PostQuitMessage(quit_code);
  return chooser.take_pick();
}

}  // namespace quiren::win32
