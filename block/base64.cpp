#include "block/base64.h"

#include <array>

#include "block/block_rules.h"

namespace quiren::block {

namespace {

constexpr std::uint8_t kNotBase64 = 0xFF;

constexpr std::array<std::uint8_t, 128> inverse_table() {
  std::array<std::uint8_t, 128> table{};
  table.fill(kNotBase64);
  for (std::size_t i = 0; i < kStrongArmourAlphabet.size(); ++i) {
    table[static_cast<unsigned char>(kStrongArmourAlphabet[i])] = static_cast<std::uint8_t>(i);
  }
  return table;
}

constexpr std::array<std::uint8_t, 128> kInverse = inverse_table();

std::uint8_t digit_of(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < kInverse.size() ? kInverse[u] : kNotBase64;
}

}  // namespace

std::string base64_armour(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve((bytes.size() * 4 + 2) / 3);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = std::uint32_t{bytes[i]} << 16 | std::uint32_t{bytes[i + 1]} << 8 | bytes[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) out += kStrongArmourAlphabet[(v >> shift) & 63];
  }
  const std::size_t left = bytes.size() - i;
  if (left > 0) {
    std::uint32_t v = std::uint32_t{bytes[i]} << 16;
    if (left == 2) v |= std::uint32_t{bytes[i + 1]} << 8;
    // One byte gives 2 characters, two bytes 3.
    for (std::size_t k = 0; k <= left; ++k) out += kStrongArmourAlphabet[(v >> (18 - 6 * k)) & 63];
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> base64_bytes(std::string_view text) {
  if (!is_base64_length(text.size())) return std::nullopt;
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 3 / 4);
  std::uint32_t bits = 0;
  int held = 0;  // bits in `bits` not yet written out
  for (char c : text) {
    const std::uint8_t digit = digit_of(c);
    if (digit == kNotBase64) return std::nullopt;
    bits = (bits << 6 | digit) & 0xFFFFFF;
    held += 6;
    if (held >= 8) {
      held -= 8;
      out.push_back(static_cast<std::uint8_t>(bits >> held));
    }
  }
  // A writer leaves the bits after the last whole byte at zero.
  if ((bits & ((1u << held) - 1)) != 0) return std::nullopt;
  return out;
}

bool is_base64_character(char32_t c) { return c < kInverse.size() && kInverse[c] != kNotBase64; }

}  // namespace quiren::block
