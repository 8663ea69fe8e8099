// The checks on a recipient envelope that need no secret key: the block
// reader makes them before anything is asked, and opening makes them first.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "block/outcome.h"

namespace quiren::block {

struct CheckedRecipientEnvelope {
  // nullopt when the envelope may be opened; else what it comes to without a
  // key: later_format (a version or suite other than 1), refused_settings
  // (a count outside 1..64 or a reserved byte other than 0) or damaged (a
  // length that does not fit).
  std::optional<Outcome> problem = Outcome::damaged;
  // When readable: the fields, as views into the envelope.
  std::size_t count = 0;
  std::uint64_t written_at = 0;             // seconds since 1970-01-01 UTC
  std::span<const std::uint8_t> header;     // H: bytes 0..75
  std::span<const std::uint8_t> sender;     // S
  std::span<const std::uint8_t> ephemeral;  // E
  std::span<const std::uint8_t> slots;      // count slots of kSlotSize
  std::span<const std::uint8_t> sealed_text;  // P: the nonce, the ciphertext and the tag
};

// The version and suite bytes decide first, as far as the envelope has
// them: a later format may be laid out otherwise. Then the header's length,
// the count and the reserved byte, then the length of the slots, the nonce
// and the tag.
CheckedRecipientEnvelope check_recipient_envelope(std::span<const std::uint8_t> envelope);

}  // namespace quiren::block
