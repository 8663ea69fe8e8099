// UTF-16 to and from the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

#include "tray/core/desktop.h"

namespace quiren::win32 {

// Characters without an exact form in the code page are replaced (no
// best-fit look-alikes) and reported through `lossless`.
AnsiText to_ansi_text(std::u16string_view text);
std::u16string from_ansi_text(std::string_view bytes);

}  // namespace quiren::win32
