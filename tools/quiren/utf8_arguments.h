// The command line as the rest of the tool takes it: UTF-8. Windows hands a
// program its arguments in UTF-16 (the narrow ones are in the ANSI code
// page, which loses what it cannot hold: an emoji, Japanese on a western
// system), so the Windows entry point turns them into UTF-8 here, once.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace quiren::tool {

struct Utf8Arguments {
  std::vector<std::string> args;  // when problem is empty
  std::string problem;
};

// Each argument as UTF-8. One holding half of a surrogate pair without the
// other half is refused rather than changed: it would name another file.
Utf8Arguments utf8_arguments(std::span<const std::u16string> utf16_args);

}  // namespace quiren::tool
