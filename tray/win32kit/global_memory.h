// Global memory for the clipboard: freed on every path unless ownership was
// handed to the system with release() (only once SetClipboardData took it).
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

namespace quiren::win32 {

class ScopedGlobal {
 public:
  explicit ScopedGlobal(std::size_t bytes) : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~ScopedGlobal() {
    if (memory_) GlobalFree(memory_);
  }
  ScopedGlobal(const ScopedGlobal&) = delete;
  ScopedGlobal& operator=(const ScopedGlobal&) = delete;

  HGLOBAL get() const { return memory_; }
  explicit operator bool() const { return memory_ != nullptr; }
  // The system owns the block from now on.
  HGLOBAL release() { return std::exchange(memory_, nullptr); }

 private:
  HGLOBAL memory_;
};

// A global memory block locked for as long as this lives.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  ~GlobalLockScope() {
    if (data_) GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  void* data() const { return data_; }
  // The block's size in bytes.
  std::size_t size() const { return data_ ? GlobalSize(memory_) : 0; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace quiren::win32
