// Writing a recipient block (mode letter "D"): the text sealed for the
// recipients' public keys and the writer's (recipient_seal.h), its armour
// framed like every block. Reading one is read_blocks' and the decrypt
// run's work (decrypt_run.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "block/keys/recipient_seal.h"

namespace quiren::block {

// The block for an envelope, wrapped at `width` as every block is.
std::u16string frame_recipient_envelope(std::span<const std::uint8_t> envelope, int width);

struct RecipientBlock {
  SealStatus status = SealStatus::crypto_failed;
  std::u16string block;  // set only when sealed
};

RecipientBlock write_recipient_block(CryptoProvider& crypto, std::string_view text_utf8,
                                     const SecretKey& sender_secret, std::span<const X25519PublicKey> recipients,
                                     int width);

}  // namespace quiren::block
