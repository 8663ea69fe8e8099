#include "tray/win32kit/owned_window.h"

#include "tray/win32kit/fonts.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

bool OwnedWindow::create_bound(const WindowSpec& spec, WNDPROC procedure, void* frame) {
  if (hwnd_ || !register_window_class(spec.window_class, procedure, spec.background)) return false;
  dpi_ = screen_dpi();
  if (spec.font_points > 0) font_ = make_ui_font(spec.font_points, dpi_);
  const std::wstring caption = to_wide(spec.caption);
  // WindowProc sets hwnd_ at WM_NCCREATE, before this call returns.
  return CreateWindowExW(spec.ex_style, spec.window_class, caption.c_str(), spec.style, CW_USEDEFAULT, CW_USEDEFAULT,
                         px_from_twips(spec.outer.width, dpi_.x), px_from_twips(spec.outer.height, dpi_.y),
                         spec.owner, nullptr, GetModuleHandleW(nullptr), frame) != nullptr;
}

}  // namespace quiren::win32
