// The entry the cipher flows call to let the user pick a password from the
// list.
#pragma once

#include <optional>

#include "block/secret.h"

namespace quiren {

class PasswordChooser {
 public:
  virtual ~PasswordChooser() = default;
  // Shows the chooser modally and returns once it has closed: the password
  // picked, or nullopt when none was (closed without a pick, or nothing in
  // the list).
  virtual std::optional<block::SecretText> choose_password() = 0;
};

}  // namespace quiren
