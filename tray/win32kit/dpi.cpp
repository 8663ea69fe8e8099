#include "tray/win32kit/dpi.h"

#include "tray/win32kit/gdi.h"

namespace quiren::win32 {

Dpi screen_dpi() {
  Dpi dpi;
  if (ScopedDC dc(nullptr); dc) {
    const int x = GetDeviceCaps(dc.get(), LOGPIXELSX);
    const int y = GetDeviceCaps(dc.get(), LOGPIXELSY);
    if (x > 0) dpi.x = x;
    if (y > 0) dpi.y = y;
  }
  return dpi;
}

int twips_per_pixel(int dpi) { return dpi > 0 ? (1440 + dpi / 2) / dpi : 15; }

POINT centred_on_work_area(int width, int height) {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
}

void size_and_centre(HWND hwnd, int client_width_twips, int client_height_twips, Dpi dpi) {
  RECT r{0, 0, px_from_twips(client_width_twips, dpi.x), px_from_twips(client_height_twips, dpi.y)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const POINT at = centred_on_work_area(w, h);
  SetWindowPos(hwnd, nullptr, at.x, at.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quiren::win32
