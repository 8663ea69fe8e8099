#include "cipher/keystream.h"

#include <cstdlib>

namespace quiren::cipher {

namespace {

std::int32_t signed_byte(char c) { return static_cast<std::int32_t>(static_cast<signed char>(c)); }

// The same generator, seeded per group, adds or subtracts: sign is +1 or -1.
void run_passes(std::string_view password, std::span<std::uint8_t> payload, int sign) {
  for (std::size_t i = 0; i < password.size(); i += 3) {
    const Seeds s = group_seeds(password, i);
    KeyGenerator gen(s.a, s.b, s.c);
    for (std::uint8_t& byte : payload) byte = static_cast<std::uint8_t>(byte + sign * gen.next());
  }
}

}  // namespace

std::int32_t derive_seed(std::int32_t x, int k) {
  // Squaring wraps modulo 2^32: done unsigned, then read back as signed.
  std::uint32_t y = static_cast<std::uint32_t>(x);
  for (int i = 1; i < k; ++i) y *= y;
  return static_cast<std::int32_t>(y) % 30000 + 1;
}

Seeds group_seeds(std::string_view password, std::size_t offset) {
  const std::int32_t p0 = signed_byte(password[offset]);
  switch (password.size() % 3) {
    case 0:
      return {derive_seed(p0, 2), derive_seed(signed_byte(password[offset + 1]), 2),
              derive_seed(signed_byte(password[offset + 2]), 2)};
    case 1:
      return {derive_seed(p0, 2), derive_seed(p0, 3), derive_seed(p0, 4)};
    default: {
      const std::int32_t p1 = signed_byte(password[offset + 1]);
      return {derive_seed(p0, 2), derive_seed(p1, 2), derive_seed(p0 + p1, 2)};
    }
  }
}

int KeyGenerator::next() {
  // Seeds lie in -29998..30000, so one correction brings each state into range.
  s1_ = 171 * (s1_ % 177) - 2 * (s1_ / 177);
  if (s1_ < 0) s1_ += 30269;
  s2_ = 172 * (s2_ % 176) - 35 * (s2_ / 176);
  if (s2_ < 0) s2_ += 30307;
  s3_ = 170 * (s3_ % 178) - 63 * (s3_ / 178);
  if (s3_ < 0) s3_ += 30323;

  static constexpr double r1 = 1.0 / 30269.0;
  static constexpr double r2 = 1.0 / 30307.0;
  static constexpr double r3 = 1.0 / 30323.0;
  // Evaluation order and rounding are part of the format: keep as written.
  double u = (s3_ * r3 + s2_ * r2) + s1_ * r1;
  while (u >= 1.0) u -= 1.0;
  return std::abs(static_cast<int>(u * 256.0 + 1.0));
}

void encipher(std::string_view password, std::span<std::uint8_t> payload) { run_passes(password, payload, +1); }

void decipher(std::string_view password, std::span<std::uint8_t> payload) { run_passes(password, payload, -1); }

}  // namespace quiren::cipher
