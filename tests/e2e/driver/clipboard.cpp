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

namespace {

// Hands a copy of `size` bytes to the open clipboard as `format`.
bool set_bytes(UINT format, const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  bool ok = false;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    ok = SetClipboardData(format, memory) != nullptr;
  }
  if (!ok) GlobalFree(memory);
  return ok;
}

}  // namespace

bool set_clipboard_text(std::wstring_view text) { return set_marked_clipboard_text(text, {}); }

bool set_marked_clipboard_text(std::wstring_view text, std::span<const ClipboardMark> marks) {
  if (!open_clipboard()) return false;
  bool ok = false;
  if (EmptyClipboard()) {
    std::wstring with_nul(text);
    with_nul.push_back(L'\0');
    ok = set_bytes(CF_UNICODETEXT, with_nul.data(), with_nul.size() * sizeof(wchar_t));
    for (const ClipboardMark& mark : marks) {
      const UINT format = RegisterClipboardFormatW(std::wstring(mark.format).c_str());
      ok = ok && format != 0 && set_bytes(format, &mark.value, sizeof mark.value);
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
