#include "cipher/keystream.h"

#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#endif

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

// The fast path runs up to four passes per sweep over the payload (passes
// only add modulo 256, so their order does not matter), with each pass in a
// lane of plain arrays so the compiler can keep the lanes' chains side by
// side, or in vector registers. The component states are held as doubles:
// they are integers below 2^15, and a * s < 2^23, so every product is exact
// and the quotient a * s div m comes out exactly as trunc(s * (a / m)) with
// a / m rounded to double: the rounding error is below 2^-44, while a * s / m
// is either 0 (s = 0) or at least 1 / m away from an integer (m is prime and
// a, s < m). Taking the quotient from s keeps it off the a * s chain. The key
// is then made from the same doubles in the same order as KeyGenerator::next.
constexpr double kR1 = 1.0 / 30269.0;
constexpr double kR2 = 1.0 / 30307.0;
constexpr double kR3 = 1.0 / 30323.0;
constexpr double kQ1 = 171.0 / 30269.0;
constexpr double kQ2 = 172.0 / 30307.0;
constexpr double kQ3 = 170.0 / 30323.0;

// x >= 0 and below 2^31: its integer part, as a double.
inline double integer_part(double x) { return static_cast<double>(static_cast<std::int32_t>(x)); }

// a * s rem m, for 0 <= s < m.
inline double lcg_step(double s, double a, double m, double a_over_m) {
  return a * s - m * integer_part(s * a_over_m);
}

template <std::size_t Lanes>
struct LaneStates {
  double s1[Lanes], s2[Lanes], s3[Lanes];
};

template <std::size_t Lanes>
void run_lanes(const Seeds* seeds, std::span<std::uint8_t> payload, int sign) {
  LaneStates<Lanes> st;
  for (std::size_t l = 0; l < Lanes; ++l) {
    st.s1[l] = static_cast<double>(first_step(seeds[l].a, 171, 30269));
    st.s2[l] = static_cast<double>(first_step(seeds[l].b, 172, 30307));
    st.s3[l] = static_cast<double>(first_step(seeds[l].c, 170, 30323));
  }
  for (std::uint8_t& byte : payload) {
    std::int32_t keys[Lanes];
    for (std::size_t l = 0; l < Lanes; ++l) {
      double u = (st.s3[l] * kR3 + st.s2[l] * kR2) + st.s1[l] * kR1;
      u -= integer_part(u);
      keys[l] = static_cast<std::int32_t>(u * 256.0 + 1.0);
      st.s1[l] = lcg_step(st.s1[l], 171.0, 30269.0, kQ1);
      st.s2[l] = lcg_step(st.s2[l], 172.0, 30307.0, kQ2);
      st.s3[l] = lcg_step(st.s3[l], 170.0, 30323.0, kQ3);
    }
    std::int32_t sum = 0;
    for (std::size_t l = 0; l < Lanes; ++l) sum += keys[l];
    byte = static_cast<std::uint8_t>(byte + sign * sum);
  }
}

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define QUIREN_KEYSTREAM_SSE2 1

// The same steps as run_lanes, two lanes per vector register: 2 * Pairs
// passes in one sweep. Each packed operation rounds exactly as its scalar.
template <std::size_t Pairs>
void run_pairs(const Seeds* seeds, std::span<std::uint8_t> payload, int sign) {
  __m128d s1[Pairs], s2[Pairs], s3[Pairs];
  for (std::size_t h = 0; h < Pairs; ++h) {
    const Seeds& lo = seeds[2 * h];
    const Seeds& hi = seeds[2 * h + 1];
    s1[h] = _mm_set_pd(first_step(hi.a, 171, 30269), first_step(lo.a, 171, 30269));
    s2[h] = _mm_set_pd(first_step(hi.b, 172, 30307), first_step(lo.b, 172, 30307));
    s3[h] = _mm_set_pd(first_step(hi.c, 170, 30323), first_step(lo.c, 170, 30323));
  }
  const __m128d r1 = _mm_set1_pd(kR1), r2 = _mm_set1_pd(kR2), r3 = _mm_set1_pd(kR3);
  const __m128d m1 = _mm_set1_pd(30269.0), m2 = _mm_set1_pd(30307.0), m3 = _mm_set1_pd(30323.0);
  const __m128d a1 = _mm_set1_pd(171.0), a2 = _mm_set1_pd(172.0), a3 = _mm_set1_pd(170.0);
  const __m128d scale = _mm_set1_pd(256.0), one = _mm_set1_pd(1.0);
  const auto integer_parts = [](__m128d x) { return _mm_cvtepi32_pd(_mm_cvttpd_epi32(x)); };
  const __m128d q1 = _mm_set1_pd(kQ1), q2 = _mm_set1_pd(kQ2), q3 = _mm_set1_pd(kQ3);
  const auto step = [&](__m128d st, __m128d a, __m128d m, __m128d a_over_m) {
    return _mm_sub_pd(_mm_mul_pd(a, st), _mm_mul_pd(m, integer_parts(_mm_mul_pd(st, a_over_m))));
  };
  for (std::uint8_t& byte : payload) {
    __m128i keys = _mm_setzero_si128();
    for (std::size_t h = 0; h < Pairs; ++h) {
      __m128d u = _mm_add_pd(_mm_add_pd(_mm_mul_pd(s3[h], r3), _mm_mul_pd(s2[h], r2)), _mm_mul_pd(s1[h], r1));
      u = _mm_sub_pd(u, integer_parts(u));
      keys = _mm_add_epi32(keys, _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(u, scale), one)));
      s1[h] = step(s1[h], a1, m1, q1);
      s2[h] = step(s2[h], a2, m2, q2);
      s3[h] = step(s3[h], a3, m3, q3);
    }
    const std::int32_t sum = _mm_cvtsi128_si32(keys) + _mm_cvtsi128_si32(_mm_srli_si128(keys, 4));
    byte = static_cast<std::uint8_t>(byte + sign * sum);
  }
}
#endif

// One pass per password group; sign is +1 (add) or -1 (subtract).
void run_passes(std::string_view password, std::span<std::uint8_t> payload, int sign) {
  std::vector<Seeds> seeds;
  for (std::size_t i = 0; i < password.size(); i += 3) seeds.push_back(group_seeds(password, i));
  std::size_t g = 0;
#ifdef QUIREN_KEYSTREAM_SSE2
  for (; g + 4 <= seeds.size(); g += 4) run_pairs<2>(&seeds[g], payload, sign);
  if (g + 2 <= seeds.size()) {
    run_pairs<1>(&seeds[g], payload, sign);
    g += 2;
  }
#else
  for (; g + 4 <= seeds.size(); g += 4) run_lanes<4>(&seeds[g], payload, sign);
  if (g + 2 <= seeds.size()) {
    run_lanes<2>(&seeds[g], payload, sign);
    g += 2;
  }
#endif
  if (g < seeds.size()) run_lanes<1>(&seeds[g], payload, sign);
}

}  // namespace

void encipher(std::string_view password, std::span<std::uint8_t> payload) { run_passes(password, payload, +1); }

void decipher(std::string_view password, std::span<std::uint8_t> payload) { run_passes(password, payload, -1); }

}  // namespace quiren::cipher
