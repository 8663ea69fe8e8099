// The kit's owners with real windows and handles: a frame's window goes
// with the frame while the frame's members are still there, whoever closed
// it is seen at WM_NCDESTROY, a quit while a modal window is up ends the
// window and comes back for the loop outside, and a handle whose close
// fails says so.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"
#include "tray/win32kit/owned_handle.h"
#include "tray/win32kit/owned_window.h"
#include "tray/win32kit/thread_messages.h"

using namespace quiren::e2e;
using namespace quiren::win32;

namespace {

constexpr UINT kQuitNow = WM_APP + 1;

// A frame as the program's are: a member its window procedure uses on the
// way out, the owner last.
class TestFrame {
 public:
  explicit TestFrame(std::vector<std::string>& log) : log_(log) {}
  bool open() {
    return window_.create(*this, {.window_class = L"quiren_kit_check", .style = WS_POPUP | WS_CAPTION,
                                  .caption = u"kit check"});
  }
  HWND hwnd() const { return window_.get(); }
  bool is_open() const { return static_cast<bool>(window_); }
  void close() { window_.destroy(); }

 private:
  friend class quiren::win32::WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_CLOSE:
        // Closes itself, as the prompts do on Cancel.
        DestroyWindow(window_.get());
        return 0;
      case WM_DESTROY:
        log_.push_back(window_ ? "destroy, handle still there" : "destroy, handle gone");
        return 0;
      case kQuitNow:
        PostQuitMessage(static_cast<int>(wp));
        return 0;
      default:
        return DefWindowProcW(window_.get(), msg, wp, lp);
    }
  }
  void after_nc_destroy() { log_.push_back(window_ ? "nc destroy, handle still there" : "nc destroy, handle cleared"); }

  std::vector<std::string>& log_;
  OwnedWindow window_;
};

std::string joined(const std::vector<std::string>& log) {
  std::string out;
  for (const std::string& line : log) out.append("[").append(line).append("]");
  return out;
}

void owner_destroys_with_the_frame() {
  step("a frame's window goes with the frame, its procedure seeing the close");
  std::vector<std::string> log;
  HWND hwnd = nullptr;
  {
    TestFrame frame(log);
    if (!check(frame.open(), "the window is made")) return;
    hwnd = frame.hwnd();
    check(IsWindow(hwnd) != FALSE, "the owner holds the window");
  }
  check(!IsWindow(hwnd), "the window is gone with the frame");
  check(joined(log) == "[destroy, handle still there][nc destroy, handle cleared]",
        "WM_DESTROY reached the frame, WM_NCDESTROY cleared the handle: " + joined(log));
}

void closed_by_itself() {
  step("a window that closes itself leaves its owner empty, destroyed once");
  std::vector<std::string> log;
  TestFrame frame(log);
  if (!check(frame.open(), "the window is made")) return;
  SendMessageW(frame.hwnd(), WM_CLOSE, 0, 0);
  check(!frame.is_open(), "the owner's handle is cleared");
  frame.close();  // nothing left to destroy
  check(log.size() == 2, "one close seen: " + joined(log));
}

void quit_while_modal() {
  step("a quit while a modal window is up ends the window and comes back for the loop outside");
  std::vector<std::string> log;
  TestFrame frame(log);
  if (!check(frame.open(), "the window is made")) return;
  PostMessageW(frame.hwnd(), kQuitNow, 5, 0);
  int ended = 0;
  const LoopEnd end = run_modal_until([&] { return !frame.is_open(); }, [&] {
    ++ended;
    frame.close();
  });
  check(end == LoopEnd::quit, "the loop ends with the quit");
  check(ended == 1 && !frame.is_open(), "the modal window was ended");
  MSG msg{};
  const bool again = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  check(again && msg.message == WM_QUIT && msg.wParam == 5, "WM_QUIT is posted again with its exit code");
}

void failing_close() {
  step("a handle whose close fails says so");
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"kit_check.tmp";
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY,
                              nullptr));
  if (!check(file.valid(), "a file is open")) return;
  // Closed behind the owner's back: the system refuses the second close.
  CloseHandle(file.get());
  check(!file.close(), "close() reports the failure");
  check(!file.valid() && file.close(), "and holds nothing after it");
  ScopedFile none;
  check(none.get() == INVALID_HANDLE_VALUE && none.close(), "an empty file owner holds INVALID_HANDLE_VALUE");
  DeleteFileW(path.c_str());
}

}  // namespace

int wmain() {
  owner_destroys_with_the_frame();
  closed_by_itself();
  quit_while_modal();
  failing_close();
  return exit_code();
}
