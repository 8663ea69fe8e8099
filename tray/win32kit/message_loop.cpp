#include "tray/win32kit/message_loop.h"

namespace quiren::win32 {
namespace {

// True when `fetched` ends a loop early (`end` then says how), with what
// the rule does first: a quit is posted again.
bool ends_loop(MessageQueue& queue, Fetched fetched, LoopEnd& end) {
  switch (fetched) {
    case Fetched::quit:
      queue.post_quit_again();
      end = LoopEnd::quit;
      return true;
    case Fetched::failed:
      end = LoopEnd::failed;
      return true;
    case Fetched::message:
    case Fetched::none:
      break;
  }
  return false;
}

}  // namespace

LoopEnd run_messages_until(MessageQueue& queue, const std::function<bool()>& done,
                           const std::function<void()>& end_window) {
  while (!done()) {
    const Fetched fetched = queue.fetch();
    LoopEnd end = LoopEnd::done;
    if (ends_loop(queue, fetched, end)) {
      if (end_window) end_window();
      return end;
    }
    if (fetched == Fetched::message) queue.dispatch();
  }
  return LoopEnd::done;
}

LoopEnd dispatch_waiting(MessageQueue& queue, const std::function<bool()>& done) {
  while (!done()) {
    const Fetched fetched = queue.peek();
    if (fetched == Fetched::none) break;
    LoopEnd end = LoopEnd::done;
    if (ends_loop(queue, fetched, end)) return end;
    queue.dispatch();
  }
  return LoopEnd::done;
}

}  // namespace quiren::win32
