// The window procedure every object-backed window shares. The object passed
// to CreateWindowExW as its creation parameter is bound to the window at
// WM_NCCREATE (hwnd_ is set at once: messages up to WM_CREATE arrive before
// CreateWindowExW returns), gets every message through its handle(), and is
// unbound at WM_NCDESTROY. A window with work to do once its handle is gone
// declares after_nc_destroy(). Windows befriend WindowProc.
#pragma once

#include <windows.h>

namespace quiren::win32 {

class WindowProc {
 public:
  template <class Window>
  static LRESULT CALLBACK of(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* creating = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      creating->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
      if constexpr (requires(Window& w) { w.after_nc_destroy(); }) self->after_nc_destroy();
      return result;
    }
    return self->handle(msg, wp, lp);
  }
};

}  // namespace quiren::win32
