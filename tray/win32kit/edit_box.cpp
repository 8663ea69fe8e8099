#include "tray/win32kit/edit_box.h"

#include <string>

namespace quiren::win32 {

block::SecretText read_secret_text(HWND edit) {
  block::SecretText text;
  const int length = GetWindowTextLengthW(edit);
  if (length <= 0) return text;
  text.resize(static_cast<std::size_t>(length) + 1);
  const int got = GetWindowTextW(edit, reinterpret_cast<LPWSTR>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

void wipe_edit_box(HWND edit) {
  if (!edit) return;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(edit, GWL_STYLE));
  if ((style & ES_MULTILINE) != 0) {
    if (auto buffer = reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0))) {
      if (void* chars = LocalLock(buffer)) {
        SecureZeroMemory(chars, LocalSize(buffer));
        LocalUnlock(buffer);
      }
    }
  } else if (const int length = GetWindowTextLengthW(edit); length > 0) {
    const std::wstring fill(static_cast<std::size_t>(length), L'*');
    SetWindowTextW(edit, fill.c_str());
  }
  SetWindowTextW(edit, L"");
  SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

void set_secret_text(HWND edit, std::u16string_view text) {
  wipe_edit_box(edit);
  if (text.empty()) return;
  block::SecretText with_nul(text);
  with_nul.push_back(u'\0');
  SetWindowTextW(edit, reinterpret_cast<LPCWSTR>(with_nul.data()));
  SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

void show_password_text(HWND edit, bool shown, wchar_t mask) {
  SendMessageW(edit, EM_SETPASSWORDCHAR, shown ? 0 : static_cast<WPARAM>(mask), 0);
  InvalidateRect(edit, nullptr, TRUE);
}

}  // namespace quiren::win32
