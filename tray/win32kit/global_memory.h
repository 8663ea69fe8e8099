// A global memory block locked while it is read or written.
#pragma once

#include <windows.h>

#include <cstddef>

namespace quiren::win32 {

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
