// The pixels that twips take at the screen's real DPI.
#pragma once

#include <windows.h>

#include "tray/win32kit/twips.h"

namespace quiren::win32 {

struct Dpi {
  int x = 96;
  int y = 96;
};

// The DPI of the screen as this process sees it (96 unless the process is
// declared DPI-aware and the screen is scaled).
Dpi screen_dpi();

inline int px_from_twips(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
inline int twips_from_px(int px, int dpi) { return MulDiv(px, 1440, dpi); }

// Whole twips per pixel, rounded: the measure the portable logic works with.
int twips_per_pixel(int dpi);

// The top-left corner that centres a window of this outer size on the
// primary screen's work area (the whole screen if that is not known).
POINT centred_on_work_area(int width, int height);

// Sizes the window so its client area is the given twips size, centred on
// the primary screen's work area.
void size_and_centre(HWND hwnd, int client_width_twips, int client_height_twips, Dpi dpi);

}  // namespace quiren::win32
