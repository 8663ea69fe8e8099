#include "tray/core/win32/background_wait.h"

#include <windows.h>

#include "tray/core/job_thread.h"
#include "tray/core/win32/progress_frame.h"
#include "tray/win32kit/owned_handle.h"
#include "tray/win32kit/thread_messages.h"

namespace quiren::win32 {
namespace {

enum class WaitEnd { finished, cancelled, quitting };

// Dispatches every message until the event is set or the form cancelled;
// a WM_QUIT ends the wait as the message loop's rule says.
WaitEnd dispatch_until(HANDLE finished, const ProgressForm& progress) {
  ThreadMessages queue;
  for (;;) {
    if (progress.cancelled()) return WaitEnd::cancelled;
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0) return WaitEnd::finished;
    if (woke == WAIT_FAILED) {
      // Nothing to wait with: the job's own end is all there is.
      WaitForSingleObject(finished, INFINITE);
      return WaitEnd::finished;
    }
    if (dispatch_waiting(queue, [&progress] { return progress.cancelled(); }) == LoopEnd::quit) {
      return WaitEnd::quitting;
    }
  }
}

}  // namespace

bool run_in_background(const std::shared_ptr<block::BackgroundJob>& job, ProgressForm& progress) {
  // The job's thread sets the event when it ends, also after this wait has
  // been given up: it holds a share of it.
  auto finished = std::make_shared<ScopedHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!*finished || !run_on_worker(job, [finished] { SetEvent(finished->get()); })) {
    job->run();
    return true;
  }
  if (!progress.has_view()) progress.attach(std::make_unique<ProgressFrame>(progress));
  if (dispatch_until(finished->get(), progress) == WaitEnd::finished) return true;
  job->abandon();
  return false;
}

}  // namespace quiren::win32
