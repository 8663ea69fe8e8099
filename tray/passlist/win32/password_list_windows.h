// The password list window on Win32, in its two uses: the modeless editor
// the tray menu opens and the modal chooser the cipher flows call. The
// editor and a chooser may be open at once (the chooser then shows the file
// as saved).
#pragma once

#include <memory>

#include "tray/core/desktop.h"
#include "tray/core/modeless_window.h"
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"

namespace quiren::win32 {

class PasswordListFrame;

class PasswordEditor : public ModelessWindow {
 public:
  PasswordEditor(ProgramState& state, Desktop& desktop);
  ~PasswordEditor() override;
  PasswordEditor(const PasswordEditor&) = delete;
  PasswordEditor& operator=(const PasswordEditor&) = delete;

  // Opens the editor, or brings it to the front when it is open, without
  // reading the file again.
  void show() override;
  // Closes it as its close box does (the save question included).
  void close() override;
  bool is_open() const override;

 private:
  ProgramState& state_;
  Desktop& desktop_;
  // A closed frame stays until the next opening replaces it: it may close
  // from inside its own window procedure.
  std::unique_ptr<PasswordListFrame> frame_;
};

class Win32PasswordChooser : public PasswordChooser {
 public:
  Win32PasswordChooser(ProgramState& state, Desktop& desktop) : state_(state), desktop_(desktop) {}
  // Runs its own message loop until the chooser closes. A WM_QUIT met while
  // waiting closes the chooser (nothing picked) and is posted again
  // (run_modal_until's rule).
  std::optional<block::SecretText> choose_password() override;

 private:
  ProgramState& state_;
  Desktop& desktop_;
};

}  // namespace quiren::win32
