#include <fstream>
#include <iterator>

#include "tools/quiren/password_input.h"

namespace quiren::tool {

PasswordRead password_from_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, {}, "cannot read the password file " + path};
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return {true, line, {}};
}

}  // namespace quiren::tool
