#include "block/strong_block.h"

#include "block/armoured_block.h"
#include "block/ascii.h"
#include "block/base64.h"
#include "block/block_rules.h"
#include "block/password_nfc.h"

namespace quiren::block {

std::u16string frame_strong_envelope(std::span<const std::uint8_t> envelope, int width) {
  return frame_block(kStrongModeLetter, widen_bytes(base64_armour(envelope)), width);
}

StrongBlock write_strong_block(CryptoProvider& crypto, std::string_view text_utf8, std::string_view password_utf8,
                               int width) {
  const SecretBytes key_password = strong_key_password(password_utf8);
  SealResult sealed = seal_envelope(crypto, text_utf8, key_password.view());
  if (sealed.status != SealStatus::sealed) return {sealed.status, {}};
  return {SealStatus::sealed, frame_strong_envelope(sealed.envelope, width)};
}

}  // namespace quiren::block
