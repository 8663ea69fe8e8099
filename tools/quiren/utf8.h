// UTF-8 decoding and encoding for the tool's standard input and output.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quiren::tool {

// The code points of `text`, or nullopt when it is not valid UTF-8 (bad
// sequences, overlong forms, surrogates, values above U+10FFFF); then
// *bad_offset is the offset of the first bad byte.
std::optional<std::u32string> decode_utf8(std::string_view text, std::size_t* bad_offset = nullptr);

void append_utf8(std::string& out, char32_t c);

// UTF-16 text as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8_from_utf16(std::u16string_view text);

// Names a character for a message: U+00E9 'é' (the glyph left out for
// control characters).
std::string describe_char(char32_t c);

// UTF-16 code units `text` takes: the tray program's measure of length.
std::size_t utf16_length(std::u32string_view text);

}  // namespace quiren::tool
