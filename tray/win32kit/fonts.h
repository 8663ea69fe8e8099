// The one font the program's windows use: the designed "ＭＳ Ｐゴシック" at a
// point size, or a face with Japanese glyphs where that is not installed.
#pragma once

#include "tray/win32kit/dpi.h"
#include "tray/win32kit/gdi.h"

namespace quiren::win32 {

ScopedFont make_ui_font(int points, Dpi dpi);

}  // namespace quiren::win32
