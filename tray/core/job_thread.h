// The one worker thread of the tray program's background jobs
// (block/background_job.h), made with the first job and kept for the
// program's life. Jobs run one after another in the order given, so a job
// that a cancelled run abandoned holds up the next run's job rather than
// running beside it: however often the user cancels and starts again, one
// key derivation runs at a time. The worker owns each job and its
// `when_done` until the job ends, so the caller may stop waiting at any
// moment and go on; an abandoned job then ends on its own.
#pragma once

#include <functional>
#include <memory>

#include "block/background_job.h"

namespace quiren {

// Queues the job for the worker; `when_done` runs on the worker thread once
// the job has ended. False when no thread could be started: nothing ran.
bool run_on_worker(std::shared_ptr<block::BackgroundJob> job, std::function<void()> when_done);

}  // namespace quiren
