#include "tray/core/win32/password_field.h"

#include <string>

namespace quiren::win32 {

block::SecretText read_password_field(HWND edit) {
  block::SecretText text;
  const int length = GetWindowTextLengthW(edit);
  if (length <= 0) return text;
  text.resize(static_cast<std::size_t>(length) + 1);
  const int got = GetWindowTextW(edit, reinterpret_cast<LPWSTR>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

void wipe_password_field(HWND edit) {
  if (!edit) return;
  const int length = GetWindowTextLengthW(edit);
  if (length > 0) {
    // The same length fits the control's buffer, so it is written over in
    // place rather than beside it.
    const std::wstring fill(static_cast<std::size_t>(length), L'*');
    SetWindowTextW(edit, fill.c_str());
  }
  SetWindowTextW(edit, L"");
  SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

void set_password_field(HWND edit, std::u16string_view text) {
  wipe_password_field(edit);
  if (text.empty()) return;
  block::SecretText with_nul(text);
  with_nul.push_back(u'\0');
  SetWindowTextW(edit, reinterpret_cast<LPCWSTR>(with_nul.data()));
  SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

void show_password_field(HWND edit, bool shown, wchar_t mask) {
  SendMessageW(edit, EM_SETPASSWORDCHAR, shown ? 0 : static_cast<WPARAM>(mask), 0);
  InvalidateRect(edit, nullptr, TRUE);
}

}  // namespace quiren::win32
