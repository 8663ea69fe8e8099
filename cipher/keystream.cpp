#include "cipher/keystream.h"

#include <vector>

namespace quiren::cipher {

namespace {

// One step of a component is 171 * (s rem 177) - 2 * (s div 177), plus m
// when negative (likewise 172/176/35/30307 and 170/178/63/30323). By
// Schrage's identity that equals (a * s) mod m for every seed D can give
// (-29998..30000); once s is in 0..m-1 no sign fix-up is needed.
constexpr std::int32_t first_step(std::int32_t seed, std::int32_t a, std::int32_t m) {
  const std::int32_t t = (a * seed) % m;
  return t < 0 ? t + m : t;
}

std::int32_t signed_byte(char c) { return static_cast<std::int32_t>(static_cast<signed char>(c)); }

}  // namespace

KeyGenerator::KeyGenerator(std::int32_t a, std::int32_t b, std::int32_t c)
    : s1_(static_cast<std::uint32_t>(first_step(a, 171, 30269))),
      s2_(static_cast<std::uint32_t>(first_step(b, 172, 30307))),
      s3_(static_cast<std::uint32_t>(first_step(c, 170, 30323))) {}

int KeyGenerator::next() {
  static constexpr double r1 = 1.0 / 30269.0;
  static constexpr double r2 = 1.0 / 30307.0;
  static constexpr double r3 = 1.0 / 30323.0;
  // Evaluation order and rounding are part of the format: keep as written.
  double u = (static_cast<double>(s3_) * r3 + static_cast<double>(s2_) * r2) + static_cast<double>(s1_) * r1;
  // 0 <= u < 3: dropping the integer part is exact and equals subtracting
  // 1.0 while u >= 1.0, without the jumps (their outcome is random).
  u -= static_cast<double>(static_cast<int>(u));
  s1_ = 171u * s1_ % 30269u;
  s2_ = 172u * s2_ % 30307u;
  s3_ = 170u * s3_ % 30323u;
  // u >= 0, so the key is positive and needs no absolute value.
  return static_cast<int>(u * 256.0 + 1.0);
}

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

namespace {

// One pass per password group; sign is +1 (add) or -1 (subtract). Passes
// only add modulo 256, so they may run two at a time: six independent
// component chains then overlap in the processor.
void run_passes(std::string_view password, std::span<std::uint8_t> payload, int sign) {
  std::vector<KeyGenerator> generators;
  for (std::size_t i = 0; i < password.size(); i += 3) {
    const Seeds s = group_seeds(password, i);
    generators.emplace_back(s.a, s.b, s.c);
  }
  std::size_t g = 0;
  for (; g + 1 < generators.size(); g += 2) {
    KeyGenerator x = generators[g], y = generators[g + 1];
    for (std::uint8_t& byte : payload) byte = static_cast<std::uint8_t>(byte + sign * (x.next() + y.next()));
  }
  if (g < generators.size()) {
    KeyGenerator x = generators[g];
    for (std::uint8_t& byte : payload) byte = static_cast<std::uint8_t>(byte + sign * x.next());
  }
}

}  // namespace

void encipher(std::string_view password, std::span<std::uint8_t> payload) { run_passes(password, payload, +1); }

void decipher(std::string_view password, std::span<std::uint8_t> payload) { run_passes(password, payload, -1); }

}  // namespace quiren::cipher
