// Twips (1/1440 inch): the unit of every designed size and place of the
// program's windows. Plain types, no Win32: the windows' portable logic
// uses them too.
#pragma once

#include <cstdint>

namespace quiren {

// A place on a window's client area: left, top, width, height.
struct TwipsRect {
  int left, top, width, height;
};

struct TwipsSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const TwipsSize&, const TwipsSize&) = default;
};

}  // namespace quiren
