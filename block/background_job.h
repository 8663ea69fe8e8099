// Slow work that another thread may do while the window thread waits: a
// strong block's key derivation and its cipher. The window thread may stop
// waiting at any moment (the user cancelled); the job then goes on alone
// until its current step ends, so it owns everything it reads and writes,
// stops before its next slow step, and wipes its secrets when it ends.
#pragma once

#include <atomic>
#include <memory>

namespace quiren::block {

class BackgroundJob {
 public:
  virtual ~BackgroundJob() = default;

  // Does the work, once, on whatever thread runs the job.
  virtual void run() = 0;

  // Nobody waits for the result any more. Safe from any thread; the job
  // notices it between its steps.
  void abandon() { abandoned_.store(true, std::memory_order_relaxed); }
  bool abandoned() const { return abandoned_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> abandoned_{false};
};

// Runs the jobs of one run of blocks: the tool runs them where it stands;
// the tray program on a worker thread while its window thread goes on
// dispatching messages, until the job ends or the user cancels.
class JobRunner {
 public:
  virtual ~JobRunner() = default;
  // True once `job` has run to its end. False when the user cancelled
  // first: the job is abandoned and may still be running on another thread,
  // and nothing of it may be used. Once cancelled() holds, no job starts.
  virtual bool run(const std::shared_ptr<BackgroundJob>& job) = 0;
  // Whether the user cancelled the run (or the program is ending): the run
  // starts nothing more, also between its jobs and after its questions.
  virtual bool cancelled() const = 0;
};

// Runs each job at once on the calling thread; never cancelled.
class RunHere final : public JobRunner {
 public:
  bool run(const std::shared_ptr<BackgroundJob>& job) override {
    job->run();
    return true;
  }
  bool cancelled() const override { return false; }
};

}  // namespace quiren::block
