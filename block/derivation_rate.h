// How fast this computer derives keys, for an estimate of how long a run of
// many strong blocks would take: measured with one short derivation.
#pragma once

#include <cstdint>
#include <optional>

namespace quiren::block {

class CryptoProvider;

inline constexpr std::uint32_t kRateProbeRounds = 50'000;

// Rounds per second; nullopt when the derivation failed.
std::optional<double> measured_rounds_per_second(CryptoProvider& crypto);

}  // namespace quiren::block
