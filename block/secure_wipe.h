// Overwrites secrets (keys, passwords, decrypted texts) once they are no
// longer needed, in a way the optimiser cannot drop as a dead store. Plain
// stores only, so it may be called from a signal handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quiren::block {

// Sets `size` bytes at `data` to zero.
void wipe(void* data, std::size_t size) noexcept;

inline void wipe(std::span<std::uint8_t> bytes) noexcept { wipe(bytes.data(), bytes.size()); }

// Zeroes the whole buffer, spare capacity included, and leaves it empty:
// for a string a secret has to pass through (one handed over to a Secret,
// or one a signal handler wipes without touching the heap). Bytes a string
// left behind in an earlier, smaller buffer are out of reach: reserve()
// before filling one with a secret.
template <class Char>
void wipe(std::basic_string<Char>& text) noexcept {
  // resize() within the capacity never reallocates, and makes the spare
  // characters part of the string so they may be written.
  text.resize(text.capacity());
  wipe(text.data(), text.size() * sizeof(Char));
  text.clear();
}

}  // namespace quiren::block
