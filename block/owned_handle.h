// A handle this program owns, given back when it goes: the one owner for
// every kind of platform handle (kernel objects, files, registry keys, GDI
// objects, menus, windows, the open clipboard, CNG algorithms and keys).
// Portable: each kind is a small traits type next to its platform calls,
//
//   struct Kind {
//     using Handle = ...;
//     static Handle invalid();           // what holds nothing
//     static bool close(Handle handle);  // false when the system says it failed
//   };
//
// close() says whether giving the handle back worked, for the callers that
// must know (a file written and then closed); the destructor closes what is
// still held and ignores the answer.
#pragma once

#include <utility>

namespace quiren::block {

template <class Kind>
class OwnedHandle {
 public:
  using Handle = typename Kind::Handle;

  OwnedHandle() noexcept : handle_(Kind::invalid()) {}
  explicit OwnedHandle(Handle handle) noexcept : handle_(handle) {}
  ~OwnedHandle() { static_cast<void>(close()); }
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  Handle get() const noexcept { return handle_; }
  bool valid() const noexcept { return !(handle_ == Kind::invalid()); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives the handle back now. True when there was none, or the system
  // gave it back without complaint; either way nothing is held after.
  [[nodiscard]] bool close() noexcept {
    if (!valid()) return true;
    return Kind::close(std::exchange(handle_, Kind::invalid()));
  }
  // Closes what is held (whatever the answer) and holds `handle` instead.
  void reset(Handle handle = Kind::invalid()) noexcept {
    static_cast<void>(close());
    handle_ = handle;
  }
  // Someone else owns the handle from now on (the system, once a call
  // that takes it over has succeeded).
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Kind::invalid()); }

 private:
  Handle handle_;
};

}  // namespace quiren::block
