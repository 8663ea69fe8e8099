#include "tray/core/job_thread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace quiren {
namespace {

struct QueuedJob {
  std::shared_ptr<block::BackgroundJob> job;
  std::function<void()> when_done;
};

struct WorkerQueue {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<QueuedJob> jobs;
  bool has_thread = false;
};

// The worker's whole life: it shares the queue, so the queue outlives the
// program's static objects while the thread still waits on it.
void work(const std::shared_ptr<WorkerQueue>& queue) {
  for (;;) {
    QueuedJob next;
    {
      std::unique_lock lock(queue->mutex);
      queue->ready.wait(lock, [&queue] { return !queue->jobs.empty(); });
      next = std::move(queue->jobs.front());
      queue->jobs.pop_front();
    }
    // Nothing may escape a thread; a job that fails leaves its result
    // unset, which its waiter reads as a failure.
    try {
      next.job->run();
    } catch (...) {
    }
    next.when_done();
  }
}

const std::shared_ptr<WorkerQueue>& worker_queue() {
  static const std::shared_ptr<WorkerQueue> queue = std::make_shared<WorkerQueue>();
  return queue;
}

}  // namespace

bool run_on_worker(std::shared_ptr<block::BackgroundJob> job, std::function<void()> when_done) {
  const std::shared_ptr<WorkerQueue>& queue = worker_queue();
  const std::lock_guard lock(queue->mutex);
  if (!queue->has_thread) {
    try {
      std::thread([queue_share = queue] { work(queue_share); }).detach();
    } catch (const std::system_error&) {
      return false;
    }
    queue->has_thread = true;
  }
  queue->jobs.push_back({std::move(job), std::move(when_done)});
  queue->ready.notify_one();
  return true;
}

}  // namespace quiren
