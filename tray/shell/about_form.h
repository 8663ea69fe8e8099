// The about window's logic: while it is open the clipboard watch starts no
// cipher flow, and its title line shows the running version.
#pragma once

#include <string>

#include "tray/core/program_state.h"

namespace quiren {

class AboutForm {
 public:
  explicit AboutForm(ProgramState& state);

  void Form_Load();
  // After OK, Enter, Escape or the close box.
  void Form_Unload();

  std::u16string lblTitle;

 private:
  ProgramState& state_;
  Busy::Token open_;
};

}  // namespace quiren
