// The kinds of Win32 handle the program owns, each with what holds nothing
// and how it is given back, for block::OwnedHandle. The GDI kinds are in
// gdi.h, with the device-context scopes.
#pragma once

#include <windows.h>

#include "block/owned_handle.h"

namespace quiren::win32 {

using block::OwnedHandle;

// A kernel object: an event, a thread.
struct KernelObject {
  using Handle = HANDLE;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return CloseHandle(handle) != FALSE; }
};
using ScopedHandle = OwnedHandle<KernelObject>;

// An open file: CreateFileW says "none" with INVALID_HANDLE_VALUE, not null.
// The close of a file written matters: its last bytes may fail there.
struct OpenFile {
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static bool close(Handle handle) { return CloseHandle(handle) != FALSE; }
};
using ScopedFile = OwnedHandle<OpenFile>;

struct RegistryKey {
  using Handle = HKEY;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return RegCloseKey(handle) == ERROR_SUCCESS; }
};
using ScopedRegistryKey = OwnedHandle<RegistryKey>;

// A menu made by the program and attached to no window.
struct Menu {
  using Handle = HMENU;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return DestroyMenu(handle) != FALSE; }
};
using ScopedMenu = OwnedHandle<Menu>;

// A window with no object behind it (frames own theirs through
// OwnedWindow).
struct PlainWindow {
  using Handle = HWND;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return DestroyWindow(handle) != FALSE; }
};
using ScopedWindow = OwnedHandle<PlainWindow>;

struct LoadedModule {
  using Handle = HMODULE;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return FreeLibrary(handle) != FALSE; }
};
using ScopedModule = OwnedHandle<LoadedModule>;

// Global memory, for the clipboard: released to the system only once
// SetClipboardData took it.
struct GlobalMemory {
  using Handle = HGLOBAL;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return GlobalFree(handle) == nullptr; }
};
using ScopedGlobal = OwnedHandle<GlobalMemory>;

// Local memory the system allocated for the caller (LocalAlloc), as the data
// protection calls hand out their results.
struct LocalMemory {
  using Handle = HLOCAL;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return LocalFree(handle) == nullptr; }
};
using ScopedLocal = OwnedHandle<LocalMemory>;

// The clipboard, open for this thread: it has no handle of its own, only
// the state of being open.
struct OpenClipboardState {
  using Handle = bool;
  static Handle invalid() { return false; }
  static bool close(Handle) { return CloseClipboard() != FALSE; }
};
using ClipboardScope = OwnedHandle<OpenClipboardState>;

}  // namespace quiren::win32
