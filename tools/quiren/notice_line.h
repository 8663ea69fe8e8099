// The cipher library's notices about damaged armour, as the tool prints
// them: one readable line each on standard error, never a message box.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "cipher/notice.h"

namespace quiren::tool {

// "caption: text" for one notice. The library's own UTF-8 texts are shown as
// they are; the "Error" notice's text is one byte of the caller's input, in
// whatever code page that input was, so it is named rather than copied:
// printable ASCII as itself, anything else by its value. Control characters
// never reach the line, so it stays one line.
std::string notice_line(std::string_view caption, std::string_view text, cipher::NoticeText encoding);

// Sends every later notice of the library to `print_line` (which adds the
// line break), as "quiren: " followed by its notice_line.
void send_notices_to(std::function<void(std::string_view line)> print_line);

}  // namespace quiren::tool
