// The entry the cipher flows call to let the user pick a password from the
// list.
#pragma once

namespace quiren {

class PasswordChooser {
 public:
  virtual ~PasswordChooser() = default;
  // Sets selectmode to -1, shows the chooser modally and returns once it has
  // closed. ProgramState::selectpass then holds the picked password, or ""
  // when none was picked. busyflag is 0 afterwards: a caller that goes on
  // working sets it again.
  virtual void choosepass() = 0;
};

}  // namespace quiren
