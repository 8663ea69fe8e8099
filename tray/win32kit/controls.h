// Child controls: made from one set of arguments, their texts read and set
// as the portable code's UTF-16 strings.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "tray/win32kit/dpi.h"

namespace quiren::win32 {

// What a child control is made of; only the class, the place and usually
// the ID need saying.
struct ChildArgs {
  const wchar_t* window_class = L"STATIC";
  std::u16string_view text = {};
  DWORD style = 0;     // WS_CHILD | WS_VISIBLE are always added
  DWORD ex_style = 0;
  int id = 0;
  TwipsRect place{};   // on the parent's client area
  HFONT font = nullptr;
};

// The control at its place in pixels for `dpi`; null when it could not be made.
HWND make_child(HWND parent, const ChildArgs& args, Dpi dpi);

// A window's or control's whole text.
std::u16string window_text(HWND window);
void set_window_text(HWND window, std::u16string_view text);

}  // namespace quiren::win32
