// The window thread's wait for a background job: the job on a thread of its
// own, messages dispatched meanwhile, the progress window shown when the
// wait takes a while. Desktop::run_in_background on Win32.
#pragma once

#include <memory>

#include "block/background_job.h"
#include "tray/core/progress_form.h"

namespace quiren::win32 {

// True once the job has ended; false when `progress` was cancelled (or the
// program is quitting: WM_QUIT is posted again), the job then abandoned.
// When no thread can be had the job runs here, as before there were any.
bool run_in_background(const std::shared_ptr<block::BackgroundJob>& job, ProgressForm& progress);

}  // namespace quiren::win32
