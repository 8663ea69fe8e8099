// The one message loop of the program, and its rule for the two ways a loop
// ends before its window is done:
//
// - WM_QUIT (the program is ending) is taken out of the queue by whichever
//   loop meets it first. That loop posts it again, with its exit code, for
//   the loop outside it; the modal window it was running for is ended at
//   once, as cancelling it would end it; and the loop returns
//   LoopEnd::quit. The step that opened the window then returns too, so
//   each loop out to the main one ends in turn, and nothing the modal
//   window was opened to ask for starts after the quit.
// - A failed fetch (GetMessageW gives -1: the queue cannot be read) ends
//   the modal window the same way and returns LoopEnd::failed; there is no
//   message to post again, and the loop never spins on the error.
//
// The system's own modal dialog loop (a message box) keeps the same rule
// for WM_QUIT: it ends and posts it again. A step that shows a prompt or a
// question therefore gets "cancelled" back when the program is quitting,
// and must start nothing more.
//
// Portable: the queue is an interface, the thread's Win32 queue in
// thread_messages.h, a scripted fake in the unit tests.
#pragma once

#include <functional>

namespace quiren::win32 {

enum class Fetched {
  message,  // a message to dispatch
  quit,     // WM_QUIT
  failed,   // the queue could not be read
  none,     // nothing waiting (a peek only)
};

class MessageQueue {
 public:
  virtual ~MessageQueue() = default;
  // Waits for the next message (GetMessageW).
  virtual Fetched fetch() = 0;
  // The next message if one is waiting, without waiting (PeekMessageW).
  virtual Fetched peek() = 0;
  // Hands the message last fetched to its window (dialog keys first).
  virtual void dispatch() = 0;
  // Posts the WM_QUIT last fetched again, with its exit code.
  virtual void post_quit_again() = 0;
};

enum class LoopEnd { done, quit, failed };

// Dispatches messages until `done()`; a quit or a failed fetch calls
// `end_window` (when given) and ends the loop early, as the rule above
// says.
LoopEnd run_messages_until(MessageQueue& queue, const std::function<bool()>& done,
                           const std::function<void()>& end_window = {});

// Dispatches the messages already waiting, the same way, and returns once
// none is left (LoopEnd::done) or `done()` holds; for a loop that also
// waits for something else (a background job's end).
LoopEnd dispatch_waiting(MessageQueue& queue, const std::function<bool()>& done);

}  // namespace quiren::win32
