// POSIX: USER, else LOGNAME, as the shell set them (UTF-8 on the systems
// the tool runs on).
#include <cstdlib>

#include "tools/quiren/login_name.h"

namespace quiren::tool {

std::string login_name() {
  for (const char* variable : {"USER", "LOGNAME"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return {};
}

}  // namespace quiren::tool
