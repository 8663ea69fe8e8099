// A handle this program owns, given back by `Close` when it goes: the one
// shape of the kit's kernel and GDI handle owners.
#pragma once

#include <utility>

namespace quiren::win32 {

template <class Handle, void (*Close)(Handle)>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle handle) : handle_(handle) {}
  ~OwnedHandle() { reset(); }
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle handle = nullptr) {
    if (handle_) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

}  // namespace quiren::win32
