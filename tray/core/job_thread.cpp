#include "tray/core/job_thread.h"

#include <system_error>
#include <thread>
#include <utility>

namespace quiren {

bool start_job_thread(std::shared_ptr<block::BackgroundJob> job, std::function<void()> when_done) {
  try {
    std::thread([job = std::move(job), when_done = std::move(when_done)] {
      // Nothing may escape a thread; a job that fails leaves its result
      // unset, which its waiter reads as a failure.
      try {
        job->run();
      } catch (...) {
      }
      when_done();
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

}  // namespace quiren
