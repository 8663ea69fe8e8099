// Subclassing a control so that its owner sees its messages first: the
// owner's member gets each message and returns DefSubclassProc's result for
// what it leaves alone. The subclass goes with the control.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quiren::win32 {

template <class Owner, LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM)>
class Subclass {
 public:
  static bool attach(HWND control, Owner* owner) {
    return SetWindowSubclass(control, &procedure, kId, reinterpret_cast<DWORD_PTR>(owner)) != FALSE;
  }

 private:
  static constexpr UINT_PTR kId = 1;
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR owner) {
    if (msg == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &procedure, kId);
      return DefSubclassProc(hwnd, msg, wp, lp);
    }
    return (reinterpret_cast<Owner*>(owner)->*Handler)(hwnd, msg, wp, lp);
  }
};

}  // namespace quiren::win32
