#include "tray/core/job_thread.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

namespace quiren {
namespace {

// A job that waits at a gate until the test opens it: the stand-in for a
// derivation that takes its time.
struct GatedJob : block::BackgroundJob {
  ~GatedJob() override {
    if (gone) gone->set_value();
  }
  std::promise<void>* gone = nullptr;  // told when the job goes
  std::promise<void> started;
  std::shared_future<void> gate;
  std::shared_ptr<int> held = std::make_shared<int>(1);  // what the job owns
  bool went_on = false;
  void run() override {
    started.set_value();
    gate.wait();
    // The step after the slow one, skipped once nobody waits.
    if (!abandoned()) went_on = true;
  }
};

// Given up on while it runs, a job goes on alone, holding what it owns,
// and lets it go when it ends: nothing of it depends on its caller.
TEST(Worker, AnAbandonedJobEndsOnItsOwnAndThenLetsGo) {
  std::promise<void> open_gate;
  std::promise<void> gone;
  auto job = std::make_shared<GatedJob>();
  job->gate = open_gate.get_future().share();
  job->gone = &gone;
  std::future<void> started = job->started.get_future();
  const std::weak_ptr<int> held = job->held;
  bool done = false;

  ASSERT_TRUE(run_on_worker(job, [&done] { done = true; }));
  started.wait();
  job->abandon();
  job.reset();  // the caller stops waiting and goes on
  EXPECT_FALSE(held.expired()) << "the thread still owns the job";

  open_gate.set_value();
  gone.get_future().wait();  // the thread let the job go, after when_done
  EXPECT_TRUE(done);
}

TEST(Worker, AJobNobodyAbandonsRunsToItsEnd) {
  std::promise<void> done;
  auto job = std::make_shared<GatedJob>();
  std::promise<void> open_gate;
  open_gate.set_value();
  job->gate = open_gate.get_future().share();
  ASSERT_TRUE(run_on_worker(job, [&done] { done.set_value(); }));
  done.get_future().wait();
  EXPECT_TRUE(job->went_on);
}

// A cancelled run's job still runs when the next run's job comes: the new
// one waits for it, on the same thread, instead of deriving beside it.
TEST(Worker, TheNextJobWaitsForAnAbandonedOneOnTheSameThread) {
  std::promise<void> open_gate;
  auto slow = std::make_shared<GatedJob>();
  slow->gate = open_gate.get_future().share();
  std::future<void> slow_started = slow->started.get_future();
  std::thread::id slow_thread, next_thread;
  std::promise<void> slow_done, next_done;
  ASSERT_TRUE(run_on_worker(slow, [&] {
    slow_thread = std::this_thread::get_id();
    slow_done.set_value();
  }));
  slow_started.wait();
  slow->abandon();

  auto next = std::make_shared<GatedJob>();
  std::promise<void> next_gate;
  next_gate.set_value();
  next->gate = next_gate.get_future().share();
  std::future<void> next_started = next->started.get_future();
  ASSERT_TRUE(run_on_worker(next, [&] {
    next_thread = std::this_thread::get_id();
    next_done.set_value();
  }));
  EXPECT_EQ(next_started.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout)
      << "the next job began while the abandoned one still ran";

  open_gate.set_value();
  slow_done.get_future().wait();
  next_done.get_future().wait();
  EXPECT_TRUE(next->went_on);
  EXPECT_EQ(slow_thread, next_thread);
}

}  // namespace
}  // namespace quiren
