// Round trips as the tray program makes them: encrypt the text, encrypt the
// password under itself (the check field), decrypt the text.
// The counter ns_per_byte_pass is the time per payload byte per keystream
// pass, over both directions.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "cipher/keystream.h"
#include "cipher/pipeline.h"

namespace {

const std::string kPassword = "correct horse battery staple 7";  // 30 characters

// Text made of words, as people write it.
std::string ascii_text(std::size_t bytes) {
  static const char* const words[] = {"the ", "cipher ", "clipboard ", "message ", "of ", "and ", "quiet ",
                                      "report, ", "2024 ", "meeting ", "tomorrow. ", "Please ", "send ", "it\r\n"};
  std::mt19937 rng(1);
  std::string text;
  while (text.size() < bytes) text += words[rng() % std::size(words)];
  text.resize(bytes);
  return text;
}

// Double-byte characters from a few hundred common ones (lead 0x82..0x9F).
std::string japanese_text(std::size_t characters) {
  std::mt19937 rng(2);
  std::string text;
  for (std::size_t i = 0; i < characters; ++i) {
    const unsigned pick = static_cast<unsigned>(std::geometric_distribution<int>(0.02)(rng)) % 400;
    text.push_back(static_cast<char>(0x82 + pick / 60));
    text.push_back(static_cast<char>(0x9F + pick % 60));
  }
  return text;
}

void round_trip(benchmark::State& state, const std::string& text) {
  std::size_t payload = 0;
  for (auto _ : state) {
    const std::string sealed = quiren::cipher::encrypt(text, kPassword);
    const std::string check = quiren::cipher::encrypt(kPassword, kPassword);
    const std::string opened =
        quiren::cipher::decrypt(std::string_view(sealed).substr(0, sealed.size() - 1), kPassword, sealed.substr(sealed.size() - 1));
    if (opened != text && opened.substr(0, text.size()) != text) state.SkipWithError("round trip failed");
    benchmark::DoNotOptimize(check);
    payload = (sealed.size() - 1) / 5 * 4;
  }
  const double passes = static_cast<double>((kPassword.size() + 2) / 3);
  state.counters["payload_bytes"] = static_cast<double>(payload);
  state.counters["ns_per_byte_pass"] = benchmark::Counter(
      2.0 * static_cast<double>(payload) * passes * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// The keystream alone over a 40,960-byte payload, one direction.
void BM_Keystream40960(benchmark::State& state) {
  std::vector<std::uint8_t> payload(40960, 0x41);
  for (auto _ : state) {
    quiren::cipher::encipher(kPassword, payload);
    benchmark::DoNotOptimize(payload.data());
  }
  const double passes = static_cast<double>((kPassword.size() + 2) / 3);
  state.counters["ns_per_byte_pass"] = benchmark::Counter(static_cast<double>(payload.size()) * passes * 1e-9,
                                                          benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
}

void BM_RoundTrip20480Ascii(benchmark::State& state) { round_trip(state, ascii_text(20480)); }
void BM_RoundTrip20480Japanese(benchmark::State& state) { round_trip(state, japanese_text(20480)); }
void BM_RoundTripBytes(benchmark::State& state) { round_trip(state, ascii_text(static_cast<std::size_t>(state.range(0)))); }

}  // namespace

BENCHMARK(BM_Keystream40960)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundTrip20480Ascii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundTrip20480Japanese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundTripBytes)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
