#include "block/strong_block.h"

#include "block/armoured_block.h"
#include "cipher/armour.h"

namespace quiren::block {

std::u16string frame_strong_envelope(std::span<const std::uint8_t> envelope, int width) {
  const std::string armour = cipher::armour(envelope);
  return frame_block(kStrongModeLetter, std::u16string(armour.begin(), armour.end()), width);
}

StrongBlock write_strong_block(CryptoProvider& crypto, std::string_view text_utf8, std::string_view password_utf8,
                               int width) {
  SealResult sealed = seal_envelope(crypto, text_utf8, password_utf8);
  if (sealed.status != SealStatus::sealed) return {sealed.status, {}};
  return {SealStatus::sealed, frame_strong_envelope(sealed.envelope, width)};
}

}  // namespace quiren::block
