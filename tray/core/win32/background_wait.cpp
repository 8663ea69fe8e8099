#include "tray/core/win32/background_wait.h"

#include <windows.h>

#include "tray/core/job_thread.h"
#include "tray/core/win32/progress_frame.h"
#include "tray/win32kit/dialog_message.h"
#include "tray/win32kit/kernel_handle.h"

namespace quiren::win32 {
namespace {

enum class WaitEnd { finished, cancelled, quitting };

// Dispatches every message until the event is set or the form cancelled.
WaitEnd dispatch_until(HANDLE finished, const ProgressForm& progress) {
  for (;;) {
    if (progress.cancelled()) return WaitEnd::cancelled;
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0) return WaitEnd::finished;
    if (woke == WAIT_FAILED) {
      // Nothing to wait with: the job's own end is all there is.
      WaitForSingleObject(finished, INFINITE);
      return WaitEnd::finished;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return WaitEnd::quitting;
      }
      if (dialog_message(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (progress.cancelled()) return WaitEnd::cancelled;
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
