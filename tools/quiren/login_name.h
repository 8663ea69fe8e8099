// The user's login name, UTF-8: what a new key block is named when no name
// is given.
#pragma once

#include <string>

namespace quiren::tool {

// Empty when the system names none.
std::string login_name();

}  // namespace quiren::tool
