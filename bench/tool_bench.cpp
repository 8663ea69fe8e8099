// What a wrong password costs the tool: three strong blocks of 10,000,000
// rounds take one key derivation each under a wrong password in ASCII, and
// a password not in NFC (decomposed, as macOS gives it) adds one derivation
// to the whole run (the form as typed, tried on the first block only), not
// one a block.
//
// BM_ThreeLongBlocksUnderAWrongPassword runs the tool's decrypt command
// (--no-limit: four derivations pass the budget) under both passwords, and
// one derivation alone, in every iteration, on CPU time, interleaved so all
// see the same load on a shared machine, and reports
//   ascii_ms        the run under a wrong password in ASCII,
//   decomposed_ms   the run under a wrong decomposed password,
//   derive_ms       one 10,000,000-round derivation,
//   extra_derivations  (decomposed_ms - ascii_ms) / derive_ms: 1 by the rule.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>

#include "block/ascii.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_block.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/linked_cipher.h"
#include "tools/quiren/tool_commands.h"

namespace {

using namespace quiren;

double cpu_seconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Three blocks whose envelopes ask for 10,000,000 rounds. Sealed with the
// fewest rounds readers take and then made to ask for more: no password
// opens them, and each try costs the rounds they ask for.
std::string three_long_blocks(block::CryptoProvider& crypto) {
  std::string text;
  for (int i = 0; i < 3; ++i) {
    block::SealParameters p;
    p.iterations = block::kMinReadIterations;
    p.salt[0] = p.nonce[0] = static_cast<std::uint8_t>(i + 1);
    std::vector<std::uint8_t> envelope = block::seal_envelope_with(crypto, "長い", "right", p).envelope;
    for (std::size_t b = 0; b < 4; ++b) {
      envelope[block::kIterationsOffset + b] = static_cast<std::uint8_t>(block::kMaxReadIterations >> (24 - 8 * b));
    }
    text += block::narrow_ascii(block::frame_strong_envelope(envelope, 60)) + "\r\n\r\n";
  }
  return text;
}

void BM_ThreeLongBlocksUnderAWrongPassword(benchmark::State& state) {
  const std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
  const std::unique_ptr<tool::CodePage> code_page = tool::open_code_page(932);
  tool::LinkedCipher cipher;
  const std::string input = three_long_blocks(*crypto);
  const auto run = [&](std::string password) {
    const tool::PasswordSource source = [&password] { return tool::PasswordRead{true, block::SecretBytes(password), {}}; };
    return tool::decrypt_command(input, source, *code_page, {cipher, crypto}, tool::RoundLimit::none);
  };
  const std::uint8_t salt[block::kSaltSize] = {9};
  double ascii = 0, decomposed = 0, derive = 0;
  for (auto _ : state) {
    const double t0 = cpu_seconds();
    const tool::CommandResult by_ascii = run("wrong");
    const double t1 = cpu_seconds();
    const tool::CommandResult by_decomposed = run("か\u3099き\u3099く\u3099");
    const double t2 = cpu_seconds();
    auto key = crypto->derive_key("wrong", salt, block::kMaxReadIterations);
    const double t3 = cpu_seconds();
    benchmark::DoNotOptimize(key);
    if (by_ascii.exit_code != tool::kExitWrongPassword || by_decomposed.exit_code != tool::kExitWrongPassword) {
      state.SkipWithError("the runs did not end in a wrong password");
    }
    state.SetIterationTime(t2 - t1);
    ascii += t1 - t0;
    decomposed += t2 - t1;
    derive += t3 - t2;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ascii_ms"] = ascii / n * 1e3;
  state.counters["decomposed_ms"] = decomposed / n * 1e3;
  state.counters["derive_ms"] = derive / n * 1e3;
  state.counters["extra_derivations"] = (decomposed - ascii) / derive;
}

}  // namespace

// Manual time: the time column is the run under the decomposed password.
BENCHMARK(BM_ThreeLongBlocksUnderAWrongPassword)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

BENCHMARK_MAIN();
