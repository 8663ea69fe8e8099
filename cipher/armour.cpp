#include "cipher/armour.h"

#include <array>

#include "cipher/notice.h"

namespace quiren::cipher {

namespace {

constexpr std::string_view kAlphabet =
    "Gg2Qs#3Al~"
    "OuWc@Kv^o."
    "D-e+x$i:S|"
    "IR0k'a4PtV"
    "h!Bq1m&ULd"
    ")F8\"p*T;H["
    "/E(j5Zy6Cb"
    "7Yr9J%nXMz"
    "?f_Nw";
static_assert(kAlphabet.size() == 85);

constexpr std::uint32_t kOutside = 99;

constexpr std::array<std::uint8_t, 256> make_inverse() {
  std::array<std::uint8_t, 256> inverse{};
  for (auto& d : inverse) d = kOutside;
  for (std::size_t d = 0; d < kAlphabet.size(); ++d)
    inverse[static_cast<unsigned char>(kAlphabet[d])] = static_cast<std::uint8_t>(d);
  return inverse;
}
constexpr std::array<std::uint8_t, 256> kInverse = make_inverse();

}  // namespace

std::string armour(std::span<const std::uint8_t> bytes) {
  const std::size_t groups = bytes.size() / 4;
  std::string out(groups * 5, '\0');
  for (std::size_t i = 0; i < groups; ++i) {
    std::uint32_t v = (std::uint32_t{bytes[4 * i]} << 24) | (std::uint32_t{bytes[4 * i + 1]} << 16) |
                      (std::uint32_t{bytes[4 * i + 2]} << 8) | std::uint32_t{bytes[4 * i + 3]};
    for (std::size_t d = 5; d-- > 0;) {
      out[5 * i + d] = kAlphabet[v % 85];
      v /= 85;
    }
  }
  return out;
}

std::vector<std::uint8_t> remove_armour(std::string_view body) {
  if (body.size() % 5 != 0) show_notice(kBadLengthCaption, kBadLengthText, NoticeText::utf8);
  const std::size_t groups = body.size() / 5;
  std::vector<std::uint8_t> out(groups * 4);
  for (std::size_t i = 0; i < groups; ++i) {
    std::uint32_t v = 0;  // digits 83, 84 and 99 wrap modulo 2^32
    for (std::size_t d = 0; d < 5; ++d) {
      const char c = body[5 * i + d];
      const std::uint32_t digit = kInverse[static_cast<unsigned char>(c)];
      if (digit == kOutside) show_notice(kBadCharacterCaption, std::string_view(&c, 1), NoticeText::ansi);
      v = v * 85u + digit;
    }
    out[4 * i] = static_cast<std::uint8_t>(v >> 24);
    out[4 * i + 1] = static_cast<std::uint8_t>(v >> 16);
    out[4 * i + 2] = static_cast<std::uint8_t>(v >> 8);
    out[4 * i + 3] = static_cast<std::uint8_t>(v);
  }
  return out;
}

}  // namespace quiren::cipher
