// UTF-8, the encoding of strong blocks' texts and of the tool's input and
// output, to and from the UTF-16 of the tray program's texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quiren::block {

// False for bad or truncated sequences, overlong forms, surrogates
// (U+D800..U+DFFF) and values above U+10FFFF.
bool is_valid_utf8(std::span<const std::uint8_t> bytes);
bool is_valid_utf8(std::string_view text);
// How much of `text` is valid UTF-8: the offset of the first byte that
// starts no valid sequence, or its whole size. Nothing is decoded, so no
// copy of the text is made.
std::size_t valid_utf8_length(std::string_view text);

// The code points of `text`, or nullopt when it is not valid UTF-8; then
// *bad_offset is the offset of the first bad byte.
std::optional<std::u32string> decode_utf8(std::string_view text, std::size_t* bad_offset = nullptr);

void append_utf8(std::string& out, char32_t c);

// UTF-16 text as UTF-8; a lone surrogate becomes U+FFFD. Made in one buffer,
// never grown, so a secret text leaves no copy behind in a smaller one.
std::string utf8_from_utf16(std::u16string_view text);

// Valid UTF-8 as UTF-16; nullopt for anything else.
std::optional<std::u16string> utf16_from_utf8(std::string_view text);

// False when `text` holds half of a surrogate pair without the other half,
// which no other encoding can carry.
bool is_valid_utf16(std::u16string_view text);

// UTF-16 code units `text` takes: the tray program's measure of length.
std::size_t utf16_length(std::u32string_view text);

}  // namespace quiren::block
