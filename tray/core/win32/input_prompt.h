// A modal one-line input prompt built from plain windows (no dialog
// template): label, edit box, OK and Cancel. Enter is OK, Esc is Cancel.
#pragma once

#include <string>
#include <string_view>

namespace quiren::win32 {

// Shows the prompt centred on the screen, above other windows, and runs its
// own message loop until it closes, so other windows' messages keep being
// dispatched meanwhile. Returns the typed text; Cancel or closing gives "".
// A WM_QUIT met while waiting cancels the prompt and is posted again.
std::u16string run_input_prompt(std::u16string_view prompt, std::u16string_view title);

}  // namespace quiren::win32
