#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace quiren::e2e {
namespace {

struct Control {
  HWND hwnd;
  int id;
  RECT place;  // on the parent's client area
  bool group_box;
};

// "control 1001 (0,24)-(281,196)": a control and its place, for failures.
std::string described(const Control& c) {
  char text[96];
  std::snprintf(text, sizeof text, "control %d (%ld,%ld)-(%ld,%ld)", c.id, c.place.left, c.place.top, c.place.right,
                c.place.bottom);
  return text;
}

bool holds(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The window's visible child controls in Z order, which is the order Tab
// walks them in.
std::vector<Control> visible_controls(HWND window) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    wchar_t kind[32] = {};
    GetClassNameW(child, kind, 32);
    const bool group_box = lstrcmpiW(kind, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
    controls.push_back({child, GetDlgCtrlID(child), r, group_box});
  }
  return controls;
}

}  // namespace

bool check_geometry(HWND window, std::string_view what, std::span<const int> tab_order,
                    std::source_location where) {
  const std::string name(what);
  RECT client{};
  if (!check(window && GetClientRect(window, &client), name + ": the window is there", where)) return false;
  const std::vector<Control> controls = visible_controls(window);
  bool ok = check(!controls.empty(), name + ": it has controls", where);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& a = controls[i];
    ok &= check(holds(client, a.place), name + ": " + described(a) + " lies inside the client area", where);
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const Control& b = controls[j];
      // A group box frames the controls inside it.
      if ((a.group_box && holds(a.place, b.place)) || (b.group_box && holds(b.place, a.place))) continue;
      ok &= check(!overlap(a.place, b.place), name + ": " + described(a) + " and " + described(b) + " do not overlap",
                  where);
    }
  }
  std::wstring tabs;
  std::wstring expected;
  for (const Control& c : controls) {
    if ((GetWindowLongW(c.hwnd, GWL_STYLE) & WS_TABSTOP) != 0) tabs += std::to_wstring(c.id) + L" ";
  }
  for (int id : tab_order) expected += std::to_wstring(id) + L" ";
  ok &= check_equal(tabs, expected, name + ": Tab follows the layout", where);
  return ok;
}

}  // namespace quiren::e2e
