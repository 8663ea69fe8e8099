// Blocks are ASCII: their characters pass between the tray's UTF-16 and the
// bytes of the compatible library and the tool one character for one byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiren::block {

// Every byte as the character of the same value.
inline std::u16string widen_bytes(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) out.push_back(c);
  return out;
}

// The bytes of an ASCII text; nullopt when a character lies above 0x7F.
inline std::optional<std::string> ascii_bytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    out.push_back(static_cast<char>(c));
  }
  return out;
}

// A text known to be ASCII (a block, a separator line) as bytes.
inline std::string narrow_ascii(std::u16string_view text) { return ascii_bytes(text).value_or(std::string()); }

}  // namespace quiren::block
