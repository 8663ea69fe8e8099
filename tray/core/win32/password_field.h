// An edit control that holds a password: masked (ES_PASSWORD) unless shown,
// read straight into a secret, and wiped before its text goes.
#pragma once

#include <windows.h>

#include "block/secret.h"

namespace quiren::win32 {

// The control's text, read into the secret's own buffer so that no other
// copy of it is made on the way.
block::SecretText read_password_field(HWND edit);

// Overwrites the text with fill of the same length, then empties the
// control and its undo buffer: the edit control's memory keeps no trace of
// the password when it is freed.
void wipe_password_field(HWND edit);

// Puts `text` into the control, wiping what it held first.
void set_password_field(HWND edit, std::u16string_view text);

// The text in the clear (true) or masked again with `mask`, the character
// the control masked with when it was made.
void show_password_field(HWND edit, bool shown, wchar_t mask);

}  // namespace quiren::win32
