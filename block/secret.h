// The one type for a secret in memory: a password, a decrypted text, a key.
// It owns its buffer and zeroes it before giving it back, whether the secret
// is destroyed, assigned over, cleared or outgrows it. Moving hands the
// buffer over whole, so a moved-from secret holds nothing at all. It cannot
// be copied; copy() makes a second secret where one is really needed.
//
// SecretBytes holds bytes (UTF-8, or an ANSI code page's), SecretText the
// tray program's UTF-16.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "block/secure_wipe.h"

namespace quiren::block {

// The allocator is a parameter so that tests can look at every buffer as
// it is given back; it moves along with the buffer.
template <class Char, class Allocator = std::allocator<Char>>
class Secret {
  static_assert(std::is_trivial_v<Char>);
  using Traits = std::allocator_traits<Allocator>;

 public:
  using View = std::basic_string_view<Char>;

  Secret() noexcept(noexcept(Allocator())) = default;
  explicit Secret(const Allocator& allocator) noexcept : allocator_(allocator) {}
  explicit Secret(View text) { append(text); }
  // Takes the text over: its string is wiped (spare capacity included).
  explicit Secret(std::basic_string<Char>&& text) : Secret(View(text)) { wipe(text); }
  ~Secret() { release(); }

  Secret(Secret&& other) noexcept
      : allocator_(std::move(other.allocator_)),
        data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  Secret& operator=(Secret&& other) noexcept {
    if (this != &other) {
      release();
      allocator_ = std::move(other.allocator_);
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
  }
  Secret(const Secret&) = delete;
  Secret& operator=(const Secret&) = delete;

  Secret copy() const {
    Secret twin(allocator_);
    twin.append(view());
    return twin;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Never null, as a string's: C interfaces take a null buffer for another
  // question than an empty one.
  const Char* data() const { return data_ ? data_ : no_chars_; }
  // For filling the secret in place (after resize), so that no other copy
  // of it is made on the way.
  Char* data() { return data_ ? data_ : no_chars_; }
  View view() const { return View(data(), size_); }

  void append(View text) {
    if (text.empty()) return;
    reserve(size_ + text.size());
    std::copy(text.begin(), text.end(), data_ + size_);
    size_ += text.size();
  }
  void push_back(Char c) { append(View(&c, 1)); }
  // New characters are zero.
  void resize(std::size_t size) {
    reserve(size);
    if (size > size_) std::fill(data_ + size_, data_ + size, Char{});
    if (size < size_) wipe(data_ + size, (size_ - size) * sizeof(Char));
    size_ = size;
  }
  void reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    grow_to(std::max(capacity, capacity_ * 2));
  }
  // Wipes the secret and gives its buffer back.
  void clear() noexcept { release(); }

  friend bool operator==(const Secret& a, View b) { return a.view() == b; }
  friend bool operator==(const Secret& a, const Secret& b) { return a.view() == b.view(); }

 private:
  void grow_to(std::size_t capacity) {
    Char* bigger = Traits::allocate(allocator_, capacity);
    if (data_) std::copy(data_, data_ + size_, bigger);
    const std::size_t size = size_;
    release();
    data_ = bigger;
    size_ = size;
    capacity_ = capacity;
  }
  void release() noexcept {
    if (!data_) return;
    wipe(data_, capacity_ * sizeof(Char));
    Traits::deallocate(allocator_, data_, capacity_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
  }

  // What an empty secret's data() points to; nothing is ever written there.
  static inline Char no_chars_[1] = {};

  Allocator allocator_{};
  Char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

using SecretBytes = Secret<char>;
using SecretText = Secret<char16_t>;

}  // namespace quiren::block
