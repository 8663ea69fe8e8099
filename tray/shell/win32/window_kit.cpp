#include "tray/shell/win32/window_kit.h"

#include <string>

#include "tray/shell/win32/wide_text.h"

namespace quiren::win32 {

namespace {
constexpr int kProgramIconId = 1;
}

HFONT make_ui_font(int points, Dpi dpi) {
  return CreateFontW(-MulDiv(points, dpi.y, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     VARIABLE_PITCH | FF_SWISS, L"ＭＳ Ｐゴシック");
}

HWND make_child(HWND parent, const wchar_t* window_class, std::u16string_view text, DWORD style,
                int id, Twips where, Dpi dpi, HFONT font) {
  const std::wstring wide = to_wide(text);
  HWND child = CreateWindowExW(0, window_class, wide.c_str(), WS_CHILD | WS_VISIBLE | style,
                               twips_to_px(where.left, dpi.x), twips_to_px(where.top, dpi.y),
                               twips_to_px(where.width, dpi.x), twips_to_px(where.height, dpi.y),
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  if (child && font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void size_and_centre(HWND hwnd, int client_width_twips, int client_height_twips, Dpi dpi) {
  RECT r{0, 0, twips_to_px(client_width_twips, dpi.x), twips_to_px(client_height_twips, dpi.y)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const POINT at = centred_on_work_area(w, h);
  SetWindowPos(hwnd, nullptr, at.x, at.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND hidden_owner() {
  static HWND owner = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"muquiren_owner";
    wc.hIcon = program_icon(32);
    RegisterClassExW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                           wc.hInstance, nullptr);
  }();
  return owner;
}

HICON program_icon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

ATOM register_window_class(const wchar_t* name, WNDPROC proc, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = program_icon(32);
  wc.hIconSm = program_icon(16);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc);
}

}  // namespace quiren::win32
