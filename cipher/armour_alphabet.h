// The 85 characters of the armour and their digits (internal to the armour's
// two decoders).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace quiren::cipher {

inline constexpr std::string_view kArmourAlphabet =
    "Gg2Qs#3Al~"
    "OuWc@Kv^o."
    "D-e+x$i:S|"
    "IR0k'a4PtV"
    "h!Bq1m&ULd"
    ")F8\"p*T;H["
    "/E(j5Zy6Cb"
    "7Yr9J%nXMz"
    "?f_Nw";
static_assert(kArmourAlphabet.size() == 85);

// The digit a character outside the alphabet counts as in the library's
// forgiving decoder.
inline constexpr std::uint8_t kOutsideAlphabet = 99;

constexpr std::array<std::uint8_t, 256> make_armour_inverse() {
  std::array<std::uint8_t, 256> inverse{};
  for (auto& d : inverse) d = kOutsideAlphabet;
  for (std::size_t d = 0; d < kArmourAlphabet.size(); ++d)
    inverse[static_cast<unsigned char>(kArmourAlphabet[d])] = static_cast<std::uint8_t>(d);
  return inverse;
}
inline constexpr std::array<std::uint8_t, 256> kArmourInverse = make_armour_inverse();

// Writes a group's value as its four bytes, most significant first.
inline void put_group(std::uint32_t value, std::uint8_t* out) {
  out[0] = static_cast<std::uint8_t>(value >> 24);
  out[1] = static_cast<std::uint8_t>(value >> 16);
  out[2] = static_cast<std::uint8_t>(value >> 8);
  out[3] = static_cast<std::uint8_t>(value);
}

}  // namespace quiren::cipher
