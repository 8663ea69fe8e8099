#include "tray/core/win32/clipboard.h"

#include <cstring>

#include "block/secret.h"
#include "tray/win32kit/global_memory.h"
#include "tray/win32kit/owned_handle.h"

namespace quiren::win32 {
namespace {

// The clipboard open for `owner`, tried a few times: another program may
// hold it open for a moment.
ClipboardScope open_clipboard(HWND owner) {
  constexpr int kAttempts = 10;
  constexpr DWORD kPauseMs = 30;
  for (int i = 0; i < kAttempts; ++i) {
    if (i > 0) Sleep(kPauseMs);
    if (OpenClipboard(owner)) return ClipboardScope(true);
  }
  return ClipboardScope();
}

// Hands a copy of `size` bytes to the clipboard as `format`; the memory
// belongs to the system only once SetClipboardData took it.
bool set_clipboard_bytes(UINT format, const void* data, std::size_t size) {
  ScopedGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) return false;
  {
    GlobalLockScope locked(memory.get());
    if (!locked.data()) return false;
    std::memcpy(locked.data(), data, size);
  }
  if (!SetClipboardData(format, memory.get())) return false;
  // The system owns the block now.
  static_cast<void>(memory.release());
  return true;
}

bool put_text(HWND owner, std::u16string_view text, bool mark_private) {
  const ClipboardScope clipboard = open_clipboard(owner);
  if (!clipboard || !EmptyClipboard()) return false;
  // Often a decrypted text: the copy goes once the system has its own.
  block::SecretText with_nul;
  with_nul.reserve(text.size() + 1);
  with_nul.append(text);
  with_nul.push_back(u'\0');
  if (!set_clipboard_bytes(CF_UNICODETEXT, with_nul.data(), with_nul.size() * sizeof(char16_t))) {
    return false;
  }
  if (mark_private) {
    // Marker formats; their presence (and a zero DWORD for the two flags)
    // is what history and cloud sync look at.
    const DWORD zero = 0;
    if (UINT f = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")) {
      set_clipboard_bytes(f, &zero, sizeof zero);
    }
    if (UINT f = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")) {
      set_clipboard_bytes(f, &zero, sizeof zero);
    }
    if (UINT f = RegisterClipboardFormatW(L"CanUploadToCloudClipboard")) {
      set_clipboard_bytes(f, &zero, sizeof zero);
    }
  }
  return true;
}

}  // namespace

bool clipboard_has_text() { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }

bool clipboard_kept_from_monitors(HWND owner) {
  // Present at all: the contents are not for monitors.
  for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing", L"Clipboard Viewer Ignore"}) {
    const UINT format = RegisterClipboardFormatW(name);
    if (format != 0 && IsClipboardFormatAvailable(format)) return true;
  }
  // A DWORD: 0 keeps the contents out of the clipboard history.
  const UINT history = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  if (history == 0 || !IsClipboardFormatAvailable(history)) return false;
  const ClipboardScope clipboard = open_clipboard(owner);
  if (!clipboard) return false;
  GlobalLockScope locked(GetClipboardData(history));
  DWORD allowed = 1;
  if (!locked.data() || locked.size() < sizeof allowed) return false;
  std::memcpy(&allowed, locked.data(), sizeof allowed);
  return allowed == 0;
}

std::optional<std::u16string> read_clipboard_text(HWND owner) {
  const ClipboardScope clipboard = open_clipboard(owner);
  if (!clipboard) return std::nullopt;
  GlobalLockScope locked(GetClipboardData(CF_UNICODETEXT));
  const auto* chars = static_cast<const char16_t*>(locked.data());
  if (!chars) return std::nullopt;
  // Bounded by the block's size: a text without its NUL ends there.
  const std::size_t max_units = locked.size() / sizeof(char16_t);
  std::size_t length = 0;
  while (length < max_units && chars[length] != u'\0') ++length;
  return std::u16string(chars, length);
}

bool put_clipboard_text(HWND owner, std::u16string_view text) { return put_text(owner, text, false); }

bool put_private_clipboard_text(HWND owner, std::u16string_view text) {
  return put_text(owner, text, true);
}

}  // namespace quiren::win32
