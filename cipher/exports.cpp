// The library's C interface. No exception leaves it: a call that cannot
// complete returns the empty string (or null when even that cannot be had).
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "cipher/pipeline.h"
#include "cipher/quiren.h"

namespace {

// Every result comes from new[] and goes back through quiren_release.
char* to_result(const std::string& bytes) {
  char* result = new (std::nothrow) char[bytes.size() + 1];
  if (result == nullptr) return nullptr;
  std::memcpy(result, bytes.data(), bytes.size());
  result[bytes.size()] = '\0';
  return result;
}

std::string_view view(const char* s) { return s == nullptr ? std::string_view() : std::string_view(s); }

template <typename Operation>
char* guarded(Operation operation) {
  try {
    return to_result(operation());
  } catch (...) {
    return to_result(std::string());
  }
}

}  // namespace

extern "C" {

QUIREN_API char* QUIREN_CALL wakaranakusuru(const char* text, const char* password) {
  return guarded([&] { return quiren::cipher::encrypt(view(text), view(password)); });
}

QUIREN_API char* QUIREN_CALL wakaruyounisuru(const char* body, const char* password, const char* mode) {
  return guarded([&] { return quiren::cipher::decrypt(view(body), view(password), view(mode)); });
}

QUIREN_API void QUIREN_CALL quiren_release(char* result) { delete[] result; }

}  // extern "C"
