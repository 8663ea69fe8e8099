// Where the tool gets its password: a file named on the command line, or the
// terminal with echo off. Never the command line itself.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "block/secret.h"
#include "block/secure_wipe.h"

namespace quiren::tool {

using block::SecretBytes;
using block::wipe;

// The longest password line the tool reads, in bytes without the line
// break; a longer line is refused, never cut short.
inline constexpr std::size_t kPasswordLineLimit = 4096;

struct PasswordRead {
  bool ok = false;
  SecretBytes password;  // UTF-8
  std::string problem;   // when !ok
};

// The first line of a regular file, without a leading UTF-8 byte order
// mark and without its line break (LF or CR LF, or the end of the file; a
// CR just before the end of the file goes too). Folders, devices and pipes are refused before they
// are opened, and at most kPasswordLineLimit + 5 bytes are read.
PasswordRead password_from_file(const std::string& path);

// Asks on the terminal with `prompt`, echo off. !ok when there is no
// terminal or the line is longer than kPasswordLineLimit bytes. Ended by a
// signal (or on Windows a console control event) while asking, it first puts
// the terminal back as it was and wipes what was typed; the process then
// ends as that signal usually ends it.
PasswordRead password_from_terminal(const std::string& prompt);

}  // namespace quiren::tool
