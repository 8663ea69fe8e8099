#include "block/strong/random_index.h"

#include <array>
#include <cstdint>

#include "block/secure_wipe.h"

namespace quiren::block {

std::optional<std::size_t> random_index(std::size_t count, CryptoProvider& random) {
  if (count == 0 || count > kDrawRange) return std::nullopt;
  const unsigned rejected_from = first_rejected_draw(count);
  std::array<std::uint8_t, 2> bytes{};
  std::optional<std::size_t> index;
  for (int rejected = 0; rejected < kMostRejectionsInARow && !index; ++rejected) {
    if (!random.random_bytes(bytes)) break;
    const unsigned drawn = static_cast<unsigned>(bytes[0]) << 8 | bytes[1];
    if (drawn < rejected_from) index = drawn % count;
  }
  wipe(bytes);
  return index;
}

}  // namespace quiren::block
