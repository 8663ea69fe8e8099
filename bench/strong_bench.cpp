// The strong envelope's cost is meant to be its key derivation: a round trip
// (seal, then open) of 20,480 Japanese characters holds two derivations at
// 600,000 iterations, and the cipher work around them should add under 5 %.
//
// BM_StrongRoundTrip20480Japanese times both in every iteration, on CPU
// time (interleaved, so both see the same load on a shared machine), and
// reports
//   derive_x2_ms      the two derivations alone,
//   round_trip_ms     the round trip,
//   cipher_share_pct  what the round trip costs beyond the derivations, in
//                     percent of them.
#include <benchmark/benchmark.h>

#include <ctime>
#include <random>
#include <string>

#include "block/strong/strong_envelope.h"

namespace {

using namespace quiren::block;

const std::string kPassword = "会議のパスワード 2024";

// Common kana and kanji, 3 bytes each in UTF-8.
std::string japanese_text(std::size_t characters) {
  const std::u32string pool = U"あいうえおかきくけこさしすせそたちつてとなにぬねの日本語会議明日資料送付確認、。";
  std::mt19937 rng(3);
  std::string text;
  for (std::size_t i = 0; i < characters; ++i) {
    const char32_t c = pool[rng() % pool.size()];
    text.push_back(static_cast<char>(0xE0 | (c >> 12)));
    text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return text;
}

double cpu_seconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void BM_StrongDeriveKey600k(benchmark::State& state) {
  const auto crypto = platform_crypto();
  const std::uint8_t salt[kSaltSize] = {1, 2, 3, 4};
  for (auto _ : state) {
    auto key = crypto->derive_key(kPassword, salt, kWriteIterations);
    if (!key) state.SkipWithError("derivation failed");
    benchmark::DoNotOptimize(key);
  }
}

void BM_StrongRoundTrip20480Japanese(benchmark::State& state) {
  const auto crypto = platform_crypto();
  const std::string text = japanese_text(20480);
  const std::uint8_t salt[kSaltSize] = {5, 6, 7, 8};
  double derive = 0, round_trip = 0;
  for (auto _ : state) {
    const double t0 = cpu_seconds();
    for (int i = 0; i < 2; ++i) {
      auto key = crypto->derive_key(kPassword, salt, kWriteIterations);
      benchmark::DoNotOptimize(key);
    }
    const double t1 = cpu_seconds();
    const SealResult sealed = seal_envelope(*crypto, text, kPassword);
    const OpenResult opened = open_envelope(*crypto, sealed.envelope, kPassword);
    const double t2 = cpu_seconds();
    if (opened.outcome != Outcome::opened || opened.text != text) state.SkipWithError("round trip failed");
    state.SetIterationTime(t2 - t1);
    derive += t1 - t0;
    round_trip += t2 - t1;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["derive_x2_ms"] = derive / n * 1e3;
  state.counters["round_trip_ms"] = round_trip / n * 1e3;
  state.counters["cipher_share_pct"] = (round_trip - derive) / derive * 100.0;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_StrongDeriveKey600k)->Unit(benchmark::kMillisecond);
// Manual time: the time column is the round trip alone, without the
// derivations it is compared against.
BENCHMARK(BM_StrongRoundTrip20480Japanese)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

BENCHMARK_MAIN();
