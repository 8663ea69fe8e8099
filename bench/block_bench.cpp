// The repair of received texts, over texts of 1 and 8 MiB (2^20 characters
// a MiB): a mail thread whose blocks are all quoted, the same thread as
// sent (every block read as it stands), and start markers alone on quoted
// lines with one end marker at the end (one block of every further marker,
// where an earlier quote removal searched the rest of the text per marker).
// The reader of blocks over the same thread as sent, whose blocks it reads
// one after another (where it once erased a character from the whole text
// per block). The counter ms_per_mib is the time per MiB of text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/received_text.h"

namespace {

using namespace quiren::block;

// A reply: a few lines of text, then a block of 4 lines.
std::u16string mail_thread(std::size_t characters, std::u16string_view quote) {
  const std::u16string block = frame_compatible_block(
      {u"Gg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S", u'A'},
      {u"IR0k'a4PtVh!Bq1m&ULd)F8\"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_NwGg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k'a4PtVh!Bq1m&ULd)"
       u"F8\"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_NwGg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k'a4PtVh!Bq1m&ULd)F8\"p*T;H[/E(j5",
       u'A'},
      60);
  std::u16string text;
  while (text.size() < characters) {
    text.append(quote).append(u"On Monday you wrote that the meeting moves to the north gate.\r\n");
    text.append(quote).append(u"Here are the names:\r\n");
    for (std::size_t pos = 0; pos != std::u16string::npos;) {
      std::size_t end = block.find(u"\r\n", pos);
      text.append(quote).append(block.substr(pos, end == std::u16string::npos ? end : end - pos)).append(u"\r\n");
      pos = end == std::u16string::npos ? end : end + 2;
    }
    text.append(quote).append(u"\r\n");
  }
  text.resize(characters);
  return text;
}

std::u16string start_markers(std::size_t characters) {
  std::u16string text;
  while (text.size() + 32 < characters) text.append(u"> (quiren_start)\r\n");
  text.append(u"> (quiren_end)");
  return text;
}

void repair(benchmark::State& state, const std::u16string& text) {
  for (auto _ : state) {
    std::u16string repaired = repair_received_text(text);
    benchmark::DoNotOptimize(repaired.data());
  }
  const double mib = static_cast<double>(text.size()) / (1 << 20);
  state.counters["ms_per_mib"] =
      benchmark::Counter(mib * 1e-3, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::size_t size_of(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)) << 20; }

void BM_ReadBlocksThread(benchmark::State& state) {
  const std::u16string text = mail_thread(size_of(state), u"");
  for (auto _ : state) {
    std::vector<BlockItem> items = read_blocks(text);
    benchmark::DoNotOptimize(items.data());
  }
  const double mib = static_cast<double>(text.size()) / (1 << 20);
  state.counters["ms_per_mib"] =
      benchmark::Counter(mib * 1e-3, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RepairQuotedThread(benchmark::State& state) { repair(state, mail_thread(size_of(state), u"> ")); }
void BM_RepairThreadAsSent(benchmark::State& state) { repair(state, mail_thread(size_of(state), u"")); }
void BM_RepairStartMarkers(benchmark::State& state) { repair(state, start_markers(size_of(state))); }

}  // namespace

BENCHMARK(BM_RepairQuotedThread)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepairThreadAsSent)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepairStartMarkers)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBlocksThread)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
