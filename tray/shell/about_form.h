// The about window's logic: while it is open the clipboard watch starts no
// cipher flow, and its title line shows the running version.
#pragma once

#include <string>

#include "tray/core/program_state.h"

namespace quiren {

class AboutForm {
 public:
  explicit AboutForm(ProgramState& state);

  void open();
  // After OK, Enter, Escape or the close box.
  void close();

  std::u16string title;

 private:
  ProgramState& state_;
  Busy::Token open_;
};

}  // namespace quiren
