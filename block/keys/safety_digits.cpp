#include "block/keys/safety_digits.h"

#include <cstdint>
#include <vector>

#include "block/keys/keys_layout.h"

namespace quiren::block {

std::optional<std::string> safety_digits(CryptoProvider& crypto, const X25519PublicKey& public_key) {
  std::vector<std::uint8_t> hashed(kDigitsLabel.begin(), kDigitsLabel.end());
  hashed.insert(hashed.end(), public_key.begin(), public_key.end());
  const std::optional<Sha256Digest> h = crypto.sha256(hashed);
  if (!h) return std::nullopt;
  std::string digits;
  for (std::size_t g = 0; g < kDigitGroups; ++g) {
    std::uint64_t n = 0;
    for (std::size_t k = 0; k < 5; ++k) n = n << 8 | (*h)[5 * g + k];
    std::string group = std::to_string(n % 100000);
    if (g > 0) digits += ' ';
    digits.append(5 - group.size(), '0');
    digits += group;
  }
  return digits;
}

}  // namespace quiren::block
