#include "tray/win32kit/message_loop.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quiren::win32 {
namespace {

// A thread's queue as a script: what each fetch gives, in order. A quit
// posted again is handed out, as Windows does, once no other message waits.
class ScriptedQueue : public MessageQueue {
 public:
  struct Entry {
    Fetched kind;
    int code = 0;  // a message's number, or a quit's exit code
  };
  std::deque<Entry> waiting;
  std::vector<std::string> log;
  // Runs as message `code` is dispatched (a window's handler).
  std::function<void(int)> on_dispatch = [](int) {};

  Fetched fetch() override {
    if (waiting.empty() && !quit_posted_) {
      ADD_FAILURE() << "the loop waited on an empty queue";
      return Fetched::failed;
    }
    return take();
  }
  Fetched peek() override { return waiting.empty() && !quit_posted_ ? Fetched::none : take(); }
  void dispatch() override {
    log.push_back("dispatch " + std::to_string(last_.code));
    on_dispatch(last_.code);
  }
  void post_quit_again() override {
    log.push_back("post quit " + std::to_string(last_.code));
    quit_posted_ = true;
    posted_code_ = last_.code;
  }

 private:
  Fetched take() {
    if (waiting.empty()) {
      quit_posted_ = false;
      last_ = {Fetched::quit, posted_code_};
    } else {
      last_ = waiting.front();
      waiting.pop_front();
    }
    log.push_back(last_.kind == Fetched::quit ? "fetch quit" : last_.kind == Fetched::failed ? "fetch failed" : "fetch");
    return last_.kind;
  }

  Entry last_{Fetched::none};
  bool quit_posted_ = false;
  int posted_code_ = 0;
};

using Log = std::vector<std::string>;

// A modal window as its loop sees it: open until its handler closes it or
// the loop ends it.
struct ModalWindow {
  bool open = true;
  int ended = 0;
  bool closed() const { return !open; }
  void end() {
    ++ended;
    open = false;
  }
};

TEST(MessageLoop, RunsUntilTheModalWindowClosesItself) {
  ScriptedQueue queue;
  queue.waiting = {{Fetched::message, 1}, {Fetched::message, 2}, {Fetched::message, 3}};
  ModalWindow window;
  queue.on_dispatch = [&](int message) { window.open = message != 2; };  // message 2 is its OK
  EXPECT_EQ(run_messages_until(queue, [&] { return window.closed(); }, [&] { window.end(); }), LoopEnd::done);
  EXPECT_EQ(queue.log, (Log{"fetch", "dispatch 1", "fetch", "dispatch 2"}));
  EXPECT_EQ(window.ended, 0);
  EXPECT_EQ(queue.waiting.size(), 1u) << "what came after is left for the loop outside";
}

// The main loop dispatches a message that opens a modal window with a loop
// of its own; the quit arrives while it is up. The modal window is ended
// and the step that opened it gets no answer; the quit goes on to the main
// loop, which meets it after what was already waiting and ends as well.
TEST(MessageLoop, AQuitWhileAModalWindowIsUpEndsItAndEveryLoopOutside) {
  ScriptedQueue queue;
  queue.waiting = {{Fetched::message, 1}, {Fetched::message, 2}, {Fetched::quit, 7}, {Fetched::message, 3}};
  ModalWindow prompt;
  LoopEnd inner = LoopEnd::done;
  bool asked_after_prompt = false;
  queue.on_dispatch = [&](int message) {
    if (message != 1) return;
    inner = run_messages_until(queue, [&] { return prompt.closed(); }, [&] { prompt.end(); });
    // What the step would do with an answer: nothing, once the loop says
    // the program is quitting.
    if (inner == LoopEnd::done) asked_after_prompt = true;
  };
  bool main_window_gone = false;
  EXPECT_EQ(run_messages_until(queue, [&] { return main_window_gone; }), LoopEnd::quit);
  EXPECT_EQ(inner, LoopEnd::quit);
  EXPECT_EQ(prompt.ended, 1);
  EXPECT_FALSE(asked_after_prompt);
  EXPECT_EQ(queue.log, (Log{"fetch", "dispatch 1",                     // the main loop opens the prompt
                            "fetch", "dispatch 2", "fetch quit", "post quit 7",  // the prompt's loop
                            "fetch", "dispatch 3", "fetch quit", "post quit 7"}));
}

TEST(MessageLoop, AFailedFetchEndsTheModalWindowWithoutSpinningOrPostingAQuit) {
  ScriptedQueue queue;
  queue.waiting = {{Fetched::message, 1}, {Fetched::failed}, {Fetched::message, 2}};
  ModalWindow window;
  EXPECT_EQ(run_messages_until(queue, [&] { return window.closed(); }, [&] { window.end(); }), LoopEnd::failed);
  EXPECT_EQ(window.ended, 1);
  EXPECT_EQ(queue.log, (Log{"fetch", "dispatch 1", "fetch failed"}));
}

TEST(MessageLoop, NothingIsFetchedForAWindowAlreadyClosed) {
  ScriptedQueue queue;
  EXPECT_EQ(run_messages_until(queue, [] { return true; }), LoopEnd::done);
  EXPECT_TRUE(queue.log.empty());
}

TEST(MessageLoop, DispatchingWhatIsWaitingFollowsTheSameRule) {
  ScriptedQueue queue;
  queue.waiting = {{Fetched::message, 1}, {Fetched::message, 2}};
  EXPECT_EQ(dispatch_waiting(queue, [] { return false; }), LoopEnd::done);
  EXPECT_EQ(queue.log, (Log{"fetch", "dispatch 1", "fetch", "dispatch 2"}));

  // A cancel handled on the way stops it there.
  queue.log.clear();
  bool cancelled = false;
  queue.waiting = {{Fetched::message, 1}, {Fetched::message, 2}};
  queue.on_dispatch = [&](int message) { cancelled = message == 1; };
  EXPECT_EQ(dispatch_waiting(queue, [&] { return cancelled; }), LoopEnd::done);
  EXPECT_EQ(queue.log, (Log{"fetch", "dispatch 1"}));

  queue.log.clear();
  queue.waiting = {{Fetched::quit, 3}, {Fetched::message, 4}};
  queue.on_dispatch = [](int) {};
  EXPECT_EQ(dispatch_waiting(queue, [] { return false; }), LoopEnd::quit);
  EXPECT_EQ(queue.log, (Log{"fetch quit", "post quit 3"}));
}

}  // namespace
}  // namespace quiren::win32
