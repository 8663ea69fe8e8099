#include "block/strong/utf8_valid.h"

#include <cstddef>

namespace quiren::block {

bool is_valid_utf8(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t lead = bytes[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra;
    // The allowed range of the first continuation byte shuts out overlong
    // forms, surrogates and values above U+10FFFF (the Unicode table of
    // well-formed byte sequences).
    std::uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (size - i - 1 < extra) return false;
    if (bytes[i + 1] < low || bytes[i + 1] > high) return false;
    for (std::size_t k = 2; k <= extra; ++k) {
      if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF) return false;
    }
    i += extra + 1;
  }
  return true;
}

bool is_valid_utf8(std::string_view text) {
  return is_valid_utf8(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace quiren::block
