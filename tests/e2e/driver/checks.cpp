#include <cstdio>

#include "tests/e2e/driver/driver.h"

namespace quiren::e2e {
namespace {

int failures = 0;

void report(std::string_view what, const std::source_location& where, std::string_view detail) {
  ++failures;
  std::printf("FAIL: %.*s (%s:%u)%s%.*s\n", static_cast<int>(what.size()), what.data(), where.file_name(),
              static_cast<unsigned>(where.line()), detail.empty() ? "" : "\n      ",
              static_cast<int>(detail.size()), detail.data());
  std::fflush(stdout);
}

}  // namespace

std::string utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring wide(std::string_view utf8_text) {
  if (utf8_text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), static_cast<int>(utf8_text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), static_cast<int>(utf8_text.size()), out.data(), n);
  return out;
}

bool check(bool ok, std::string_view what, std::source_location where) {
  if (!ok) report(what, where, {});
  return ok;
}

bool check_equal(std::wstring_view actual, std::wstring_view expected, std::string_view what,
                 std::source_location where) {
  if (actual == expected) return true;
  report(what, where, "expected \"" + utf8(expected) + "\"\n      actual   \"" + utf8(actual) + "\"");
  return false;
}

bool check_equal(long long actual, long long expected, std::string_view what, std::source_location where) {
  if (actual == expected) return true;
  report(what, where, "expected " + std::to_string(expected) + ", actual " + std::to_string(actual));
  return false;
}

void step(std::string_view what) {
  std::printf("-- %.*s\n", static_cast<int>(what.size()), what.data());
  std::fflush(stdout);
}

int exit_code() {
  if (failures == 0) {
    std::printf("all checks passed\n");
    return 0;
  }
  std::printf("%d check(s) failed\n", failures);
  return 1;
}

}  // namespace quiren::e2e
