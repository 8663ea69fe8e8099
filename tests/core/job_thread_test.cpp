#include "tray/core/job_thread.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>

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
TEST(JobThread, AnAbandonedJobEndsOnItsOwnAndThenLetsGo) {
  std::promise<void> open_gate;
  std::promise<void> gone;
  auto job = std::make_shared<GatedJob>();
  job->gate = open_gate.get_future().share();
  job->gone = &gone;
  std::future<void> started = job->started.get_future();
  const std::weak_ptr<int> held = job->held;
  bool done = false;

  ASSERT_TRUE(start_job_thread(job, [&done] { done = true; }));
  started.wait();
  job->abandon();
  job.reset();  // the caller stops waiting and goes on
  EXPECT_FALSE(held.expired()) << "the thread still owns the job";

  open_gate.set_value();
  gone.get_future().wait();  // the thread let the job go, after when_done
  EXPECT_TRUE(done);
}

TEST(JobThread, AJobNobodyAbandonsRunsToItsEnd) {
  std::promise<void> done;
  auto job = std::make_shared<GatedJob>();
  std::promise<void> open_gate;
  open_gate.set_value();
  job->gate = open_gate.get_future().share();
  ASSERT_TRUE(start_job_thread(job, [&done] { done.set_value(); }));
  done.get_future().wait();
  EXPECT_TRUE(job->went_on);
}

}  // namespace
}  // namespace quiren
