// Top-level window classes of the program and the hidden window that owns
// the ones without a task-bar button.
#pragma once

#include <windows.h>

namespace quiren::win32 {

// Registers a window class of the program (arrow cursor, the program icon,
// the given background) once; later calls for the same name succeed at once.
// False when registration failed.
bool register_window_class(const wchar_t* name, WNDPROC proc, HBRUSH background);

// The dialog background.
inline HBRUSH face_brush() { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)); }

// The program icon from the resources at the given square size (shared by
// the system; never destroyed).
HICON program_icon(int size);

// A hidden top-level window that owns the splash, the about window and the
// password list windows: an owned window has no button in the task bar.
HWND hidden_owner();

}  // namespace quiren::win32
