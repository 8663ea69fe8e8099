// A background job (block/background_job.h) on a thread of its own. The
// thread owns the job and `when_done` until it ends, so the caller may stop
// waiting at any moment and go on; an abandoned job then ends on its own.
#pragma once

#include <functional>
#include <memory>

#include "block/background_job.h"

namespace quiren {

// Starts the job; `when_done` runs on the job's thread once the job has
// ended. False when no thread could be started: nothing ran.
bool start_job_thread(std::shared_ptr<block::BackgroundJob> job, std::function<void()> when_done);

}  // namespace quiren
