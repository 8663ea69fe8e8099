#include "cipher/armour_removal.h"

#include "cipher/armour_alphabet.h"
#include "cipher/notice.h"

namespace quiren::cipher {

std::vector<std::uint8_t> remove_armour(std::string_view body) {
  if (body.size() % 5 != 0) show_notice(kBadLengthCaption, kBadLengthText, NoticeText::utf8);
  const std::size_t groups = body.size() / 5;
  std::vector<std::uint8_t> out(groups * 4);
  for (std::size_t i = 0; i < groups; ++i) {
    std::uint32_t v = 0;  // digits 83, 84 and 99 wrap modulo 2^32
    for (std::size_t d = 0; d < 5; ++d) {
      const char c = body[5 * i + d];
      const std::uint32_t digit = kArmourInverse[static_cast<unsigned char>(c)];
      if (digit == kOutsideAlphabet) show_notice(kBadCharacterCaption, std::string_view(&c, 1), NoticeText::ansi);
      v = v * 85u + digit;
    }
    put_group(v, &out[4 * i]);
  }
  return out;
}

}  // namespace quiren::cipher
