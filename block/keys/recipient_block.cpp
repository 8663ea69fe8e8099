#include "block/keys/recipient_block.h"

#include "block/armoured_block.h"
#include "block/ascii.h"
#include "block/base64.h"
#include "block/block_rules.h"

namespace quiren::block {

std::u16string frame_recipient_envelope(std::span<const std::uint8_t> envelope, int width) {
  return frame_block(kRecipientModeLetter, widen_bytes(base64_armour(envelope)), width);
}

RecipientBlock write_recipient_block(CryptoProvider& crypto, std::string_view text_utf8,
                                     const SecretKey& sender_secret, std::span<const X25519PublicKey> recipients,
                                     int width) {
  const RecipientSeal sealed = seal_recipient_envelope(crypto, text_utf8, sender_secret, recipients);
  if (sealed.status != SealStatus::sealed) return {sealed.status, {}};
  return {SealStatus::sealed, frame_recipient_envelope(sealed.envelope, width)};
}

}  // namespace quiren::block
