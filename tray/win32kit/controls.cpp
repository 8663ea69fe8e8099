#include "tray/win32kit/controls.h"

#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

HWND make_child(HWND parent, const ChildArgs& args, Dpi dpi) {
  const std::wstring text = to_wide(args.text);
  HWND child = CreateWindowExW(args.ex_style, args.window_class, text.c_str(), WS_CHILD | WS_VISIBLE | args.style,
                               px_from_twips(args.place.left, dpi.x), px_from_twips(args.place.top, dpi.y),
                               px_from_twips(args.place.width, dpi.x), px_from_twips(args.place.height, dpi.y),
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                               GetModuleHandleW(nullptr), nullptr);
  if (child && args.font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
  return child;
}

std::u16string window_text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return from_wide(buffer);
}

void set_window_text(HWND window, std::u16string_view text) { SetWindowTextW(window, to_wide(text).c_str()); }

}  // namespace quiren::win32
