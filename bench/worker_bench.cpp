// The tray derives a strong block's key on a worker thread so that its
// window stays responsive; the thread, the job's own copies and the hand-
// back should cost under 5 % of the derivation itself.
//
// BM_StrongOpenOnWorker opens one envelope (600,000 iterations) both ways in
// every iteration, on wall-clock time (the work happens on another thread),
// interleaved so that both see the same load on a shared machine, and
// reports
//   here_ms              opened on the calling thread,
//   worker_ms            opened as a job on the worker thread, waited for,
//   worker_overhead_pct  what the worker adds, in percent of the former.
#include <benchmark/benchmark.h>

#include <chrono>
#include <future>
#include <memory>
#include <vector>

#include "block/strong/strong_envelope.h"
#include "block/strong_jobs.h"
#include "tray/core/job_thread.h"

namespace {

using namespace quiren;
using Clock = std::chrono::steady_clock;

void BM_StrongOpenOnWorker(benchmark::State& state) {
  const std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
  const std::vector<std::uint8_t> envelope = block::seal_envelope(*crypto, "会議は正午から", "pw").envelope;
  double here = 0, worker = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const block::OpenResult direct = block::open_envelope(*crypto, envelope, "pw");
    const auto t1 = Clock::now();
    auto job = std::make_shared<block::OpenStrongJob>(crypto, envelope, block::SecretBytes(std::string_view("pw")));
    std::promise<void> done;
    if (!run_on_worker(job, [&done] { done.set_value(); })) state.SkipWithError("no thread");
    done.get_future().wait();
    const block::OpenResult background = job->take_result();
    const auto t2 = Clock::now();
    if (direct.outcome != block::Outcome::opened || background.outcome != block::Outcome::opened) {
      state.SkipWithError("open failed");
    }
    const std::chrono::duration<double> a = t1 - t0, b = t2 - t1;
    state.SetIterationTime(b.count());
    here += a.count();
    worker += b.count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["here_ms"] = here / n * 1e3;
  state.counters["worker_ms"] = worker / n * 1e3;
  state.counters["worker_overhead_pct"] = (worker - here) / here * 100.0;
}

}  // namespace

// Manual time: the time column is the worker's run alone.
BENCHMARK(BM_StrongOpenOnWorker)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

BENCHMARK_MAIN();
