// Overwrites secrets (passwords, the password list's bytes) once they are no
// longer needed, with volatile writes the optimiser cannot drop as dead
// stores.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quiren {

// Zeroes the string's whole buffer, spare capacity included, and leaves it
// empty. Copies made earlier are out of reach: a smaller buffer the string
// grew out of, or one a copy was taken from.
template <typename Char>
void secure_wipe(std::basic_string<Char>& text) noexcept {
  // Growing to the capacity reallocates nothing and makes the spare bytes
  // part of the string, where writing them is defined.
  text.resize(text.capacity());
  volatile Char* chars = text.data();
  for (std::size_t i = 0; i < text.size(); ++i) chars[i] = Char();
  text.clear();
}

// Wipes every string and keeps the count, so lists that mirror this one by
// index stay in step.
template <typename Char>
void secure_wipe_each(std::vector<std::basic_string<Char>>& texts) noexcept {
  for (auto& text : texts) secure_wipe(text);
}

// Wipes a string when the scope ends, however it ends.
template <typename Char>
class WipeOnExit {
 public:
  explicit WipeOnExit(std::basic_string<Char>& text) : text_(text) {}
  ~WipeOnExit() { secure_wipe(text_); }
  WipeOnExit(const WipeOnExit&) = delete;
  WipeOnExit& operator=(const WipeOnExit&) = delete;

 private:
  std::basic_string<Char>& text_;
};

}  // namespace quiren
