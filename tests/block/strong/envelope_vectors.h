// The strong known answers (tests/vectors/strong-envelopes.json) in the
// forms the envelope's tests take them: the sealing parameters, the
// envelopes by name, and hex both ways.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "block/strong/strong_envelope.h"
#include "tests/support/hex.h"
#include "vectors/strong_envelopes.h"

namespace quiren::block::test {

using testing::from_hex;
using testing::to_hex;

inline SealParameters known_answer_parameters() {
  namespace v = testing::vectors;
  SealParameters p;
  p.iterations = v::kKnownIterations;
  const std::vector<std::uint8_t> salt = from_hex(v::kKnownSaltHex);
  const std::vector<std::uint8_t> nonce = from_hex(v::kKnownNonceHex);
  std::copy(salt.begin(), salt.end(), p.salt.begin());
  std::copy(nonce.begin(), nonce.end(), p.nonce.begin());
  return p;
}

using KnownAnswer = testing::vectors::KnownEnvelope;
inline constexpr const auto& kKnownAnswers = testing::vectors::kKnownEnvelopes;

// "テスト" under "pass": 64 bytes, 9 bytes of text, fill 3.
inline constexpr std::string_view kKnownPassword = kKnownAnswers[0].password;
inline constexpr std::string_view kKnownTextEnvelope = kKnownAnswers[0].envelope_hex;
// The empty text under "pass": 52 bytes, the shortest envelope.
inline constexpr std::string_view kKnownEmptyEnvelope = kKnownAnswers[1].envelope_hex;
static_assert(kKnownPassword == "pass" && kKnownTextEnvelope.size() == 2 * 64 && kKnownEmptyEnvelope.size() == 2 * 52 &&
              kKnownAnswers[1].password == kKnownPassword, "the known answers in the order these tests take them");

}  // namespace quiren::block::test
