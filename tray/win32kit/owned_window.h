// The window a frame owns. create() registers the frame's window class
// (once), takes the screen's DPI and the frame's font, and makes the window
// bound to the frame: WindowProc hands it every message and clears the
// handle here at WM_NCDESTROY, however the window went (closed by the user,
// by the frame, or by this owner).
//
// The window is destroyed with its owner. Declare the owner as the frame's
// last member: members go in the reverse order, so the window goes first,
// while everything its procedure still uses on the way out (WM_DESTROY) is
// there.
#pragma once

#include <windows.h>

#include <string_view>

#include "tray/win32kit/dpi.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/twips.h"
#include "tray/win32kit/window_class.h"
#include "tray/win32kit/window_proc.h"

namespace quiren::win32 {

struct WindowArgs {
  const wchar_t* window_class = nullptr;
  DWORD style = 0;
  DWORD ex_style = 0;
  std::u16string_view caption = {};
  HWND owner = nullptr;  // hidden_owner(): no task-bar button
  HBRUSH background = face_brush();
  int font_points = 9;    // 0: the frame makes its own fonts
  TwipsSize outer = {};   // most frames size the window once it is made
};

class OwnedWindow {
 public:
  OwnedWindow() = default;
  ~OwnedWindow() { destroy(); }
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  // False when the class or the window could not be made.
  template <class Frame>
  bool create(Frame& frame, const WindowArgs& args) {
    return create_bound(args, &WindowProc::of<Frame>, &frame);
  }
  // Destroys the window if it is there; its procedure sees WM_DESTROY and
  // WM_NCDESTROY on the way, as for any other close.
  void destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
  }

  HWND get() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }
  Dpi dpi() const { return dpi_; }
  HFONT font() const { return font_.get(); }

 private:
  friend class WindowProc;
  bool create_bound(const WindowArgs& args, WNDPROC procedure, void* frame);

  HWND hwnd_ = nullptr;
  Dpi dpi_;
  ScopedFont font_;
};

}  // namespace quiren::win32
