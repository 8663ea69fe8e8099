// Overwriting passwords before their memory is given back or the process
// ends. The writes go through a volatile pointer so that the compiler cannot
// drop them as stores nobody reads. Safe in a signal handler: plain stores.
#pragma once

#include <cstddef>
#include <string>

namespace quiren::tool {

inline void wipe(void* data, std::size_t size) {
  volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

// The whole capacity: it may still hold a longer, earlier content.
template <class Char>
void wipe(std::basic_string<Char>& s) {
  s.resize(s.capacity());
  wipe(s.data(), s.size() * sizeof(Char));
  s.clear();
}

}  // namespace quiren::tool
