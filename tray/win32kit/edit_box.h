// Edit controls that hold secrets (a password, a decrypted text): read
// straight into a secret, set from one, masked or shown, and wiped before
// their text goes.
#pragma once

#include <windows.h>

#include <string_view>

#include "block/secret.h"

namespace quiren::win32 {

// The control's text, read into the secret's own buffer so that no other
// copy of it is made on the way.
block::SecretText read_secret_text(HWND edit);

// Wipes what the control holds, then empties it and its undo buffer: its
// memory keeps no trace of the text when it is freed. A multi-line control
// hands out its buffer (EM_GETHANDLE), which is zeroed in place; a
// single-line one does not, so its text is written over with as many fill
// characters, which fit the buffer it has. Nothing for a null control.
void wipe_edit_box(HWND edit);

// Puts `text` into the control, wiping what it held first.
void set_secret_text(HWND edit, std::u16string_view text);

// A password box's text in the clear (true) or masked again with `mask`,
// the character the control masked with when it was made.
void show_password_text(HWND edit, bool shown, wchar_t mask);

}  // namespace quiren::win32
