// Line breaks as blocks and the viewer want them: CR LF.
#pragma once

#include <string>
#include <string_view>

namespace quiren::block {

// Every bare LF, bare CR and CR LF becomes CR LF; nothing else changes.
std::u16string crlf_line_breaks(std::u16string_view text);

}  // namespace quiren::block
