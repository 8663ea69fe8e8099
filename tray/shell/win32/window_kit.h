// Small helpers shared by the shell's Win32 windows: twips to pixels at the
// real DPI, the fonts, child controls, centring, the hidden owner window.
#pragma once

#include <windows.h>

#include <string_view>

#include "tray/shell/win32/screen_metrics.h"

namespace quiren::win32 {

// A rectangle in twips: left, top, width, height.
struct Twips {
  int left, top, width, height;
};

inline int twips_to_px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// "ＭＳ Ｐゴシック" at the given point size for the screen's DPI; the caller
// deletes it.
HFONT make_ui_font(int points, Dpi dpi);

// A child control at a twips rectangle, with its text, ID and font.
HWND make_child(HWND parent, const wchar_t* window_class, std::u16string_view text, DWORD style,
                int id, Twips where, Dpi dpi, HFONT font);

// Sizes the window so its client area is the given twips size, centred on
// the primary screen's work area.
void size_and_centre(HWND hwnd, int client_width_twips, int client_height_twips, Dpi dpi);

// A hidden top-level window that owns the splash and the about window: an
// owned window has no button in the task bar.
HWND hidden_owner();

// The program icon from the resources at the given square size.
HICON program_icon(int size);

// Registers a top-level window class of the program: arrow cursor, the
// program icon, the given background. 0 when registration failed.
ATOM register_window_class(const wchar_t* name, WNDPROC proc, HBRUSH background);

}  // namespace quiren::win32
