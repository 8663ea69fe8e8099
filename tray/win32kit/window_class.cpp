#include "tray/win32kit/window_class.h"

#include "tray/win32kit/resource.h"

namespace quiren::win32 {

bool register_window_class(const wchar_t* name, WNDPROC proc, HBRUSH background) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = program_icon(32);
  wc.hIconSm = program_icon(16);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

HICON program_icon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(QUIREN_IDI_PROGRAM), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

HWND hidden_owner() {
  static const HWND owner = [] {
    constexpr wchar_t kClass[] = L"muquiren_owner";
    register_window_class(kClass, DefWindowProcW, nullptr);
    return CreateWindowExW(0, kClass, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  }();
  return owner;
}

}  // namespace quiren::win32
