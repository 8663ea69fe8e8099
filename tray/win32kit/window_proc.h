// The window procedure every frame's window shares. The frame passed to
// CreateWindowExW as its creation parameter (by OwnedWindow::create) is
// bound to the window at WM_NCCREATE: its owner `window_` gets the handle at
// once, as messages up to WM_CREATE arrive before CreateWindowExW returns.
// The frame gets every message through its handle(), and is unbound at
// WM_NCDESTROY, its owner's handle cleared. A frame with work to do once its
// handle is gone declares after_nc_destroy(). Frames befriend WindowProc.
#pragma once

#include <windows.h>

namespace quiren::win32 {

class WindowProc {
 public:
  template <class Frame>
  static LRESULT CALLBACK of(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* creating = static_cast<Frame*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      creating->window_.hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<Frame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->window_.hwnd_ = nullptr;
      const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
      if constexpr (requires(Frame& f) { f.after_nc_destroy(); }) self->after_nc_destroy();
      return result;
    }
    return self->handle(msg, wp, lp);
  }
};

}  // namespace quiren::win32
