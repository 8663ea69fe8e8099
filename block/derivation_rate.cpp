#include "block/derivation_rate.h"

#include <chrono>
#include <cstdint>

#include "block/strong/crypto_provider.h"

namespace quiren::block {

std::optional<double> measured_rounds_per_second(CryptoProvider& crypto) {
  const std::uint8_t salt[16] = {};
  const auto start = std::chrono::steady_clock::now();
  if (!crypto.derive_key("rate probe", salt, kRateProbeRounds)) return std::nullopt;
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  // A clock too coarse to see the derivation says only that it was quick.
  const double seconds = took.count() > 1e-6 ? took.count() : 1e-6;
  return kRateProbeRounds / seconds;
}

}  // namespace quiren::block
