// Scoped GDI handles: each is released on every path, by its destructor.
#pragma once

#include <windows.h>

#include "tray/win32kit/owned_handle.h"

namespace quiren::win32 {

// A window's (or, with null, the screen's) device context from GetDC.
class ScopedDC {
 public:
  explicit ScopedDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context compatible with another.
class ScopedMemoryDC {
 public:
  explicit ScopedMemoryDC(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {}
  ~ScopedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// An object selected into a device context; the one it replaced goes back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A GDI object this program created (font, bitmap), deleted with it.
template <class Object>
struct GdiObject {
  using Handle = Object;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return DeleteObject(handle) != FALSE; }
};
template <class Object>
using ScopedGdiObject = OwnedHandle<GdiObject<Object>>;

using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

}  // namespace quiren::win32
