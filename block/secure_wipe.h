// Overwrites secrets (keys, passwords, decrypted texts) once they are no
// longer needed, in a way the optimiser cannot drop as a dead store. Plain
// stores only, so it may be called from a signal handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quiren::block {

// Sets `size` bytes at `data` to zero.
void wipe(void* data, std::size_t size) noexcept;

inline void wipe(std::span<std::uint8_t> bytes) noexcept { wipe(bytes.data(), bytes.size()); }

// Zeroes the whole buffer, spare capacity included, and leaves it empty.
// Bytes a string or vector left behind in an earlier, smaller buffer are out
// of reach: reserve() before filling one with a secret.
template <class Char>
void wipe(std::basic_string<Char>& text) noexcept {
  // resize() within the capacity never reallocates, and makes the spare
  // characters part of the string so they may be written.
  text.resize(text.capacity());
  wipe(text.data(), text.size() * sizeof(Char));
  text.clear();
}
void wipe(std::vector<std::uint8_t>& bytes) noexcept;

// Wipes every string and keeps the count, so lists that mirror this one by
// index stay in step.
template <class Char>
void wipe_each(std::vector<std::basic_string<Char>>& texts) noexcept {
  for (auto& text : texts) wipe(text);
}

// Wipes a string when the scope ends, however it ends.
template <class Char>
class WipeOnExit {
 public:
  explicit WipeOnExit(std::basic_string<Char>& text) : text_(text) {}
  ~WipeOnExit() { wipe(text_); }
  WipeOnExit(const WipeOnExit&) = delete;
  WipeOnExit& operator=(const WipeOnExit&) = delete;

 private:
  std::basic_string<Char>& text_;
};

}  // namespace quiren::block
