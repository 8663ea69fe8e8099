#include "tray/passlist/win32/password_list_win32.h"

#include <memory>
#include <vector>

#include "tray/passlist/win32/password_list_frame.h"

namespace quiren::win32 {
namespace {

// The editor's frame. A closed frame stays until the next opening replaces
// it: it may close from inside its own window procedure.
std::unique_ptr<PasswordListFrame>& editor() {
  static std::unique_ptr<PasswordListFrame> frame;
  return frame;
}

// Every open frame, innermost chooser last, for dialog-message handling.
std::vector<PasswordListFrame*>& open_frames() {
  static std::vector<PasswordListFrame*> frames;
  return frames;
}

bool dialog_message_for(PasswordListFrame* frame, MSG& msg) {
  return frame && frame->is_open() && IsDialogMessageW(frame->hwnd(), &msg);
}

}  // namespace

void open_password_list_editor(ProgramState& state, Desktop& desktop) {
  state.busyflag = kTrue;
  auto& frame = editor();
  if (frame && frame->is_open()) {
    frame->bring_to_front();
    return;
  }
  frame = std::make_unique<PasswordListFrame>(state, desktop);
  frame->open();
}

HWND password_list_editor_window() {
  auto& frame = editor();
  return frame && frame->is_open() ? frame->hwnd() : nullptr;
}

bool password_list_dialog_message(MSG& msg) {
  for (PasswordListFrame* frame : open_frames()) {
    if (dialog_message_for(frame, msg)) return true;
  }
  return dialog_message_for(editor().get(), msg);
}

void Win32PasswordChooser::choosepass() {
  state_.selectmode = kTrue;
  PasswordListFrame chooser(state_, desktop_);
  if (!chooser.open()) {
    state_.selectmode = kFalse;
    return;
  }
  open_frames().push_back(&chooser);
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
    if (password_list_dialog_message(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::erase(open_frames(), &chooser);
  if (quit) PostQuitMessage(quit_code);
}

}  // namespace quiren::win32
