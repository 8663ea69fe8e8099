// Where the tool gets its password: a file named on the command line, or the
// terminal with echo off. Never the command line itself.
#pragma once

#include <optional>
#include <string>

#include "tools/quiren/wipe.h"

namespace quiren::tool {

struct PasswordRead {
  bool ok = false;
  std::string password;  // UTF-8
  std::string problem;   // when !ok

  // Every copy wipes its password when it goes, wherever it was passed to.
  ~PasswordRead() { wipe(password); }
};

// The file's first line, without its line break (LF or CR LF).
PasswordRead password_from_file(const std::string& path);

// Asks on the terminal with `prompt`, echo off. !ok when there is no
// terminal.
PasswordRead password_from_terminal(const std::string& prompt);

}  // namespace quiren::tool
