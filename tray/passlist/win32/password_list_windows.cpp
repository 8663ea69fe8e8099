#include "tray/passlist/win32/password_list_windows.h"

#include <windows.h>

#include "tray/passlist/win32/password_list_frame.h"
#include "tray/win32kit/thread_messages.h"

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
  // Ended early, it closes as its close box closes it: nothing picked.
  run_modal_until([&chooser] { return !chooser.is_open(); },
                  [&chooser] { SendMessageW(chooser.hwnd(), WM_CLOSE, 0, 0); });
  return chooser.take_pick();
}

}  // namespace quiren::win32
