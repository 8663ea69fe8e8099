// The checks on an envelope that need no password and no key derivation.
// open_envelope makes them first; a caller may make them before it asks for
// a password, so an envelope that cannot be opened anyway asks for none.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "block/outcome.h"

namespace quiren::block {

struct CheckedEnvelope {
  // nullopt when the envelope is readable; else what it comes to without a
  // key: later_format (a later format version, or a text longer than
  // kMaxTextBytes), refused_settings (version 1 with an unknown key
  // derivation or cipher, or an iteration count outside kMinReadIterations..
  // kMaxReadIterations: a key made weak on purpose, or one that would tie
  // the program up) or damaged (too short, or the fill disagrees with the
  // length).
  std::optional<Outcome> problem = Outcome::damaged;
  // When readable: the fields, as views into the envelope.
  std::uint32_t iterations = 0;
  std::span<const std::uint8_t> header;  // bytes 0..35, the associated data
  std::span<const std::uint8_t> salt;
  std::span<const std::uint8_t> nonce;
  std::span<const std::uint8_t> ciphertext_and_tag;
};

// The version, key derivation and cipher bytes decide first, as far as the
// envelope has them: a later format may be laid out differently, so its
// length says nothing. Then the length, then the iteration count, then the
// fill.
CheckedEnvelope check_envelope(std::span<const std::uint8_t> envelope);

}  // namespace quiren::block
