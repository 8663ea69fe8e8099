// The tool's lines on standard error: messages, notes, the safety digits.
// They are UTF-8 in the tool and may hold file names and key names in any
// script.
#pragma once

#include <string_view>

namespace quiren::tool {

// Writes `utf8_line` and a line break to standard error. POSIX: the bytes
// as they are. Windows: a console is written in UTF-16 (WriteConsoleW), as
// UTF-8 bytes show as garbage under any other console code page (932,
// 1252); redirected to a file or a pipe, the UTF-8 bytes as on POSIX, so
// that scripts read the same on both.
void print_error_line(std::string_view utf8_line);

}  // namespace quiren::tool
