// The calling thread's Win32 message queue for the message loop: messages
// go to IsDialogMessageW first (Tab, Enter and Escape in the program's
// dialog-like windows), then to their windows.
#pragma once

#include <windows.h>

#include <functional>

#include "tray/win32kit/message_loop.h"

namespace quiren::win32 {

class ThreadMessages final : public MessageQueue {
 public:
  Fetched fetch() override;
  Fetched peek() override;
  void dispatch() override;
  void post_quit_again() override;

 private:
  MSG msg_{};
};

// run_messages_until on the calling thread's queue: the loop of a modal
// window (`closed()` once it has gone; `end_window` ends it early, as the
// loop's rule says) or, with no window to end, the program's main loop.
LoopEnd run_modal_until(const std::function<bool()>& closed, const std::function<void()>& end_window = {});

}  // namespace quiren::win32
