// Message boxes through MessageBoxW.
#pragma once

#include <windows.h>

#include "tray/core/desktop.h"

namespace quiren::win32 {

// The flags MessageBoxW gets for a box: buttons, icon, first button as
// default, and MB_SETFOREGROUND | MB_TOPMOST when it goes to the front.
UINT message_box_flags(const MessageBoxSpec& box);

// Shows the box (owner may be null) and waits; a box that could not be shown
// answers No for a question, so nothing goes ahead unconfirmed.
Answer show_message_box(HWND owner, const MessageBoxSpec& box);

}  // namespace quiren::win32
