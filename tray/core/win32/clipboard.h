// Clipboard text (CF_UNICODETEXT). Opening the clipboard is retried for a
// short bounded time, since another program may hold it open for a moment.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quiren::win32 {

bool clipboard_has_text();

// True when the contents carry a format by which the program that put them
// there asks clipboard monitors to leave them alone: password managers mark
// a copied password so, and so does this program's viewer.
bool clipboard_kept_from_monitors(HWND owner);

// The clipboard's text; nullopt when there is none or the clipboard could
// not be opened.
std::optional<std::u16string> read_clipboard_text(HWND owner);

// Empties the clipboard and puts the text on it, owned by `owner` (a window
// is needed for the data to stay). False when the clipboard stayed busy or
// the data could not be set.
bool put_clipboard_text(HWND owner, std::u16string_view text);

// As put_clipboard_text, and marks the text as private: clipboard history,
// cloud clipboard and clipboard monitors leave it alone.
bool put_private_clipboard_text(HWND owner, std::u16string_view text);

}  // namespace quiren::win32
