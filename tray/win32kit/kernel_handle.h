// A kernel object's handle (an event, a thread), closed when it goes.
#pragma once

#include <windows.h>

#include "tray/win32kit/owned_handle.h"

namespace quiren::win32 {

inline void close_kernel_handle(HANDLE handle) { CloseHandle(handle); }

using ScopedHandle = OwnedHandle<HANDLE, close_kernel_handle>;

}  // namespace quiren::win32
