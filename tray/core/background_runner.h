// The jobs of one run on the desktop's worker thread, under the run's one
// progress window: what the flows hand a strong block's key work to. The
// run is cancelled once its progress form is (Cancel, or the program
// ending), also while no job waits: no job starts after that.
#pragma once

#include <memory>

#include "block/background_job.h"
#include "tray/core/desktop.h"
#include "tray/core/progress_form.h"

namespace quiren {

class BackgroundRunner final : public block::JobRunner {
 public:
  BackgroundRunner(Desktop& desktop, ProgressForm& progress) : desktop_(desktop), progress_(progress) {}
  bool run(const std::shared_ptr<block::BackgroundJob>& job) override {
    if (progress_.cancelled()) {
      job->abandon();
      return false;
    }
    return desktop_.run_in_background(job, progress_);
  }
  bool cancelled() const override { return progress_.cancelled(); }

 private:
  Desktop& desktop_;
  ProgressForm& progress_;
};

}  // namespace quiren
