#include "tray/win32kit/owned_window.h"

#include "tray/win32kit/fonts.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

bool OwnedWindow::create_bound(const WindowArgs& args, WNDPROC procedure, void* frame) {
  if (hwnd_ || !register_window_class(args.window_class, procedure, args.background)) return false;
  dpi_ = screen_dpi();
  if (args.font_points > 0) font_ = make_ui_font(args.font_points, dpi_);
  const std::wstring caption = to_wide(args.caption);
  // WindowProc sets hwnd_ at WM_NCCREATE, before this call returns.
  return CreateWindowExW(args.ex_style, args.window_class, caption.c_str(), args.style, CW_USEDEFAULT, CW_USEDEFAULT,
                         px_from_twips(args.outer.width, dpi_.x), px_from_twips(args.outer.height, dpi_.y),
                         args.owner, nullptr, GetModuleHandleW(nullptr), frame) != nullptr;
}

}  // namespace quiren::win32
