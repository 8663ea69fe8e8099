// The password keystream: each group of up to three password bytes seeds a
// combined linear congruential generator whose keys are added to (encipher)
// or subtracted from (decipher) every payload byte, one pass per group.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quiren::cipher {

// (x squared k-1 times, wrapping to 32 bits) rem 30000, plus 1; k is 2, 3 or 4.
std::int32_t derive_seed(std::int32_t x, int k);

// A combined generator of three linear congruential components, seeded
// (a, b, c) with values in -29998..30000.
class KeyGenerator {
 public:
  KeyGenerator(std::int32_t a, std::int32_t b, std::int32_t c);
  // The next key, 1..256.
  int next();

 private:
  // The components' states after the step that the next key is made from:
  // always within 0 <= s < modulus.
  std::uint32_t s1_, s2_, s3_;
};

struct Seeds {
  std::int32_t a, b, c;
};

// Seeds of the pass for the password group starting at byte `offset`.
Seeds group_seeds(std::string_view password, std::size_t offset);

void encipher(std::string_view password, std::span<std::uint8_t> payload);
void decipher(std::string_view password, std::span<std::uint8_t> payload);

}  // namespace quiren::cipher
