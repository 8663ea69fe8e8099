#include "cipher/armour.h"

#include "cipher/armour_alphabet.h"

namespace quiren::cipher {

std::string armour(std::span<const std::uint8_t> bytes) {
  const std::size_t groups = bytes.size() / 4;
  std::string out(groups * 5, '\0');
  for (std::size_t i = 0; i < groups; ++i) {
    std::uint32_t v = (std::uint32_t{bytes[4 * i]} << 24) | (std::uint32_t{bytes[4 * i + 1]} << 16) |
                      (std::uint32_t{bytes[4 * i + 2]} << 8) | std::uint32_t{bytes[4 * i + 3]};
    for (std::size_t d = 5; d-- > 0;) {
      out[5 * i + d] = kArmourAlphabet[v % 85];
      v /= 85;
    }
  }
  return out;
}

std::optional<std::uint32_t> armour_digit(char c) {
  const std::uint8_t digit = kArmourInverse[static_cast<unsigned char>(c)];
  if (digit == kOutsideAlphabet) return std::nullopt;
  return digit;
}

bool is_armour_text(std::string_view text) {
  for (char c : text) {
    if (kArmourInverse[static_cast<unsigned char>(c)] == kOutsideAlphabet) return false;
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> decode_armour(std::string_view text) {
  if (text.size() % 5 != 0) return std::nullopt;
  std::vector<std::uint8_t> out(text.size() / 5 * 4);
  for (std::size_t i = 0; i < text.size() / 5; ++i) {
    std::uint64_t v = 0;
    for (std::size_t d = 0; d < 5; ++d) {
      const std::uint8_t digit = kArmourInverse[static_cast<unsigned char>(text[5 * i + d])];
      if (digit == kOutsideAlphabet) return std::nullopt;
      v = v * 85 + digit;
    }
    if (v > 0xFFFFFFFFu) return std::nullopt;
    put_group(static_cast<std::uint32_t>(v), &out[4 * i]);
  }
  return out;
}

}  // namespace quiren::cipher
