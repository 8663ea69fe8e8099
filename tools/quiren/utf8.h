// Naming characters in the tool's messages; the UTF-8 conversions are the
// block library's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "block/utf8.h"

namespace quiren::tool {

using block::append_utf8;
using block::decode_utf8;
using block::utf16_length;
using block::utf8_from_utf16;

// Names a character for a message: U+00E9 'é' (the glyph left out for
// control characters).
std::string describe_char(char32_t c);

}  // namespace quiren::tool
