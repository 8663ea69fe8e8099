// The screen's real DPI and the twips (1/1440 inch) per pixel it gives.
#pragma once

#include <windows.h>

#include "tray/shell/desktop.h"

namespace quiren::win32 {

struct Dpi {
  int x = 96;
  int y = 96;
};

// The DPI of the screen as this process sees it (96 unless the process is
// declared DPI-aware and the screen is scaled).
Dpi screen_dpi();

// 1440 / dpi per axis, rounded to the nearest whole number.
TwipsPerPixel twips_per_pixel_for(Dpi dpi);

// The top-left corner that centres a window of this outer size on the
// primary screen's work area (the whole screen if that is not known).
POINT centred_on_work_area(int width, int height);

}  // namespace quiren::win32
