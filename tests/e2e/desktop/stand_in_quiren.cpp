// A stand-in quiren.dll whose encrypt returns a fixed marker: placed where
// the program must NOT load it from (the current folder), it shows which
// library the program bound.
#include <cstdlib>
#include <cstring>

#include "cipher/quiren.h"

namespace {
char* copy_of(const char* text) {
  const std::size_t n = std::strlen(text) + 1;
  auto* out = static_cast<char*>(std::malloc(n));
  if (out) std::memcpy(out, text, n);
  return out;
}
}  // namespace

extern "C" {
char* QUIREN_CALL wakaranakusuru(const char*, const char*) { return copy_of(QUIREN_STAND_IN_MARKER); }
char* QUIREN_CALL wakaruyounisuru(const char*, const char*, const char*) { return copy_of(QUIREN_STAND_IN_MARKER); }
void QUIREN_CALL quiren_release(char* result) { std::free(result); }
}
