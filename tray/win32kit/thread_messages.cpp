#include "tray/win32kit/thread_messages.h"

#include "tray/win32kit/dialog_message.h"

namespace quiren::win32 {

Fetched ThreadMessages::fetch() {
  const BOOL got = GetMessageW(&msg_, nullptr, 0, 0);
  if (got == -1) return Fetched::failed;
  return got == 0 ? Fetched::quit : Fetched::message;
}

Fetched ThreadMessages::peek() {
  if (!PeekMessageW(&msg_, nullptr, 0, 0, PM_REMOVE)) return Fetched::none;
  return msg_.message == WM_QUIT ? Fetched::quit : Fetched::message;
}

void ThreadMessages::dispatch() {
  if (dialog_message(msg_)) return;
  TranslateMessage(&msg_);
  DispatchMessageW(&msg_);
}

void ThreadMessages::post_quit_again() { PostQuitMessage(static_cast<int>(msg_.wParam)); }

LoopEnd run_modal_until(const std::function<bool()>& closed, const std::function<void()>& end_window) {
  ThreadMessages queue;
  return run_messages_until(queue, closed, end_window);
}

}  // namespace quiren::win32
