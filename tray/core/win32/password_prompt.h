// The modal password prompt: label, masked field, for a confirmed password
// a second masked field under its own label, the show box, where a
// passphrase is offered "パスワードを生成" with the choice of its form, OK
// and Cancel. Enter is OK, Esc is Cancel.
#pragma once

#include "block/secret.h"
#include "tray/core/desktop.h"

namespace quiren::win32 {

// Shows the prompt centred on the screen, above other windows, and runs its
// own message loop until it closes. Returns the typed password; Cancel or
// closing gives an empty one. A WM_QUIT met while waiting cancels the
// prompt and is posted again.
block::SecretText run_password_prompt(const PasswordQuestion& question);

}  // namespace quiren::win32
