#include "tray/shell/win32/screen_metrics.h"

#include <windows.h>

namespace quiren::win32 {

Dpi screen_dpi() {
  Dpi dpi;
  if (HDC dc = GetDC(nullptr)) {
    const int x = GetDeviceCaps(dc, LOGPIXELSX);
    const int y = GetDeviceCaps(dc, LOGPIXELSY);
    if (x > 0) dpi.x = x;
    if (y > 0) dpi.y = y;
    ReleaseDC(nullptr, dc);
  }
  return dpi;
}

TwipsPerPixel twips_per_pixel_for(Dpi dpi) {
  auto per_pixel = [](int d) { return d > 0 ? (1440 + d / 2) / d : 15; };
  return {per_pixel(dpi.x), per_pixel(dpi.y)};
}

POINT centred_on_work_area(int width, int height) {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
}

}  // namespace quiren::win32
