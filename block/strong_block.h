// Writing a strong block: the text sealed into a strong envelope under the
// password (block/strong/), its armour framed under the mode letter "C".
// Reading one is read_blocks' and the decrypt run's work (decrypt_run.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "block/strong/strong_envelope.h"

namespace quiren::block {

// The block for an envelope, wrapped at `width` as every block is.
std::u16string frame_strong_envelope(std::span<const std::uint8_t> envelope, int width);

struct StrongBlock {
  SealStatus status = SealStatus::crypto_failed;
  std::u16string block;  // set only when sealed
};

// Seals `text_utf8` under `password_utf8` in NFC (password_nfc.h; fresh
// salt and nonce, the writers' iteration count) and frames it. Nothing is written when the
// system's random source or cryptography fails.
StrongBlock write_strong_block(CryptoProvider& crypto, std::string_view text_utf8, std::string_view password_utf8,
                               int width);

}  // namespace quiren::block
