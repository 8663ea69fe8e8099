#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace quiren::e2e {

bool screenshot(std::wstring_view name, HWND window) {
  if (window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  }
  wchar_t folder[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"QUIREN_E2E_SCREENS", folder, MAX_PATH) == 0) return false;
  const std::wstring path = std::wstring(folder) + L"\\" + std::wstring(name) + L".bmp";

  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files store it
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD row = static_cast<DWORD>((width * 3 + 3) & ~3);
  std::vector<char> pixels(static_cast<std::size_t>(row) * static_cast<std::size_t>(height));
  const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (lines != height) return false;

  BITMAPFILEHEADER file_header{};
  file_header.bfType = 0x4D42;  // "BM"
  file_header.bfOffBits = sizeof file_header + sizeof header;
  file_header.bfSize = file_header.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  bool ok = WriteFile(file, &file_header, sizeof file_header, &written, nullptr) &&
            WriteFile(file, &header, sizeof header, &written, nullptr) &&
            WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(file);
  return ok;
}

void guide_picture(HWND window, std::wstring_view name) {
  // Wine's stand-in for the notification area sits at the top left of a
  // bare display, over windows placed there: keep it out of the pictures.
  if (HWND tray = FindWindowW(nullptr, L"Wine System Tray")) {
    RECT t{};
    GetWindowRect(tray, &t);
    SetWindowPos(tray, HWND_BOTTOM, GetSystemMetrics(SM_CXSCREEN) - (t.right - t.left),
                 GetSystemMetrics(SM_CYSCREEN) - (t.bottom - t.top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 3000, nullptr);
  Sleep(600);  // each control paints in its own turn of the program's loop
  if (!screenshot(name, window)) return;  // no screenshot folder: nothing to place
  wchar_t folder[MAX_PATH] = {};
  GetEnvironmentVariableW(L"QUIREN_E2E_SCREENS", folder, MAX_PATH);
  RECT r{};
  GetWindowRect(window, &r);
  char line[96];
  const int n = std::snprintf(line, sizeof line, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
                              r.bottom - r.top);
  const std::wstring path = std::wstring(folder) + L"\\" + std::wstring(name) + L".rect";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  check(file != INVALID_HANDLE_VALUE && WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr),
        "window place written for " + utf8(name));
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace quiren::e2e
