// The repair of received texts, over texts of 1 and 8 MiB (2^20 characters
// a MiB): a mail thread whose blocks are all quoted, the same thread as
// sent (every block read as it stands), a chat thread whose blocks came
// back with zero-width spaces every 20 characters or in full-width forms,
// and start markers alone on quoted lines with one end marker at the end
// (one block of every further marker, where an earlier quote removal
// searched the rest of the text per marker).
// The reader of blocks over the same thread as sent, whose blocks it reads
// one after another (where it once erased a character from the whole text
// per block), and over a thread of strong blocks (base64 and the
// envelope's checks). The counter ms_per_mib is the time per MiB of text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/received_text.h"

namespace {

using namespace quiren::block;

const std::u16string kStrongBlock =
    u"(quiren_start)\r\nCAQEBAwABhqAAAQIDBAUGBwgJCgsMDQ4PEBESExQVFhcYGRobf+CkJOlnFno\r\n"
    u"rtsjUFsaz4VybDa/P1u0COAAAAA\r\n(quiren_end)";

// A reply: a few lines of text, then a block: a compatible one of 4 lines
// unless `block` is given.
std::u16string mail_thread(std::size_t characters, std::u16string_view quote, std::u16string_view given = {}) {
  const std::u16string block = !given.empty() ? std::u16string(given) : frame_compatible_block(
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

// Messages in a chat, each with a strong block that came back with a
// zero-width space every 20 characters, or with its body in full-width
// forms.
std::u16string chat_thread(std::size_t characters) {
  std::u16string body = u"CAQEBAwAJJ8DBGxfnu5KelZAoYUo1BjQQFXm4QoRI3ZVX3u7M3mKgbK1GVYA\r\n";
  for (int i = 0; i < 3; ++i) body += u"pn+hdBF8tsLTCixOcmdyREXU3O0OVUJnUCT/voU7g92IhFh/ZAAAAQIDBAUG\r\n";
  body += u"rtsjUFsaz4VybDa/P1u0COAAAAA\r\n";
  std::u16string spaced;
  std::u16string wide;
  std::size_t count = 0;
  for (char16_t c : body) {
    spaced += c;
    if (c != u'\r' && c != u'\n' && ++count % 20 == 0) spaced += u'\u200B';
    wide += c > u' ' && c < 0x7F ? static_cast<char16_t>(c + 0xFEE0) : c;
  }
  std::u16string text;
  while (text.size() < characters) {
    text.append(u"[10:02] Aki: here is the list for tomorrow\r\n(quiren_start)\r\n").append(spaced);
    text.append(u"(quiren_end)\r\n[10:03] Ben: thanks! the old one:\r\n（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\r\n").append(wide);
    text.append(u"（ｑｕｉｒｅｎ＿ｅｎｄ）\r\n");
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

// The counter ms_per_mib: the time per MiB of `text`.
void count_per_mib(benchmark::State& state, const std::u16string& text) {
  const double mib = static_cast<double>(text.size()) / (1 << 20);
  state.counters["ms_per_mib"] =
      benchmark::Counter(mib * 1e-3, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void repair(benchmark::State& state, const std::u16string& text) {
  for (auto _ : state) {
    std::u16string repaired = repair_received_text(text);
    benchmark::DoNotOptimize(repaired.data());
  }
  count_per_mib(state, text);
}

void read(benchmark::State& state, const std::u16string& text) {
  for (auto _ : state) {
    std::vector<BlockItem> items = read_blocks(text);
    benchmark::DoNotOptimize(items.data());
  }
  count_per_mib(state, text);
}

std::size_t size_of(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)) << 20; }

void BM_ReadBlocksThread(benchmark::State& state) { read(state, mail_thread(size_of(state), u"")); }
void BM_ReadStrongBlocksThread(benchmark::State& state) { read(state, mail_thread(size_of(state), u"", kStrongBlock)); }
void BM_RepairQuotedThread(benchmark::State& state) { repair(state, mail_thread(size_of(state), u"> ")); }
void BM_RepairThreadAsSent(benchmark::State& state) { repair(state, mail_thread(size_of(state), u"")); }
void BM_RepairChatThread(benchmark::State& state) { repair(state, chat_thread(size_of(state))); }
void BM_RepairStartMarkers(benchmark::State& state) { repair(state, start_markers(size_of(state))); }

}  // namespace

BENCHMARK(BM_RepairQuotedThread)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepairThreadAsSent)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepairChatThread)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepairStartMarkers)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBlocksThread)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStrongBlocksThread)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
