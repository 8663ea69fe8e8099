#include <cstring>

#include "tests/e2e/driver/driver.h"

namespace quiren::e2e {
namespace {

// The driver's clipboard owner: without a window, data set on the clipboard
// has no owner and may be dropped.
HWND owner_window() {
  static HWND owner = CreateWindowExW(0, L"STATIC", L"e2e clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  return owner;
}

bool open_clipboard() {
  return wait_until([] { return OpenClipboard(owner_window()) != FALSE; }, 2s);
}

}  // namespace

bool set_clipboard_text(std::wstring_view text) {
  if (!open_clipboard()) return false;
  bool ok = false;
  if (EmptyClipboard()) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
        std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
        target[text.size()] = L'\0';
        GlobalUnlock(memory);
        ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      }
      if (!ok) GlobalFree(memory);
    }
  }
  CloseClipboard();
  return ok;
}

std::optional<std::wstring> clipboard_text() {
  if (!open_clipboard()) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      const std::size_t max_units = GlobalSize(data) / sizeof(wchar_t);
      std::size_t n = 0;
      while (n < max_units && chars[n] != L'\0') ++n;
      text = std::wstring(chars, n);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool wait_for_clipboard_text(std::wstring_view expected, Millis timeout) {
  return wait_until([&] { return clipboard_text() == std::optional<std::wstring>(std::wstring(expected)); },
                    timeout);
}

}  // namespace quiren::e2e
