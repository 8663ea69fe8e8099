// Tab, Enter and Escape in the program's dialog-like windows, for every
// message loop of the program (the main one and the modal ones).
#pragma once

#include <windows.h>

namespace quiren::win32 {

// Hands `msg` to IsDialogMessageW of the visible top-level window it is
// for, when that window is a control parent (WS_EX_CONTROLPARENT, which the
// program's dialog-like windows have). True when the message was handled
// there and must not be dispatched again.
bool dialog_message(MSG& msg);

}  // namespace quiren::win32
