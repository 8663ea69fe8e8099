// Windows: a console gets UTF-16 through WriteConsoleW; anything else gets
// UTF-8 bytes.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "tools/quiren/error_output.h"

namespace quiren::tool {

namespace {

bool is_console(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// Bytes that are not UTF-8 (none should come) become U+FFFD.
std::wstring utf16_line(std::string_view utf8_line) {
  const int length = static_cast<int>(std::min<std::size_t>(utf8_line.size(), INT_MAX));
  const int n = length > 0 ? MultiByteToWideChar(CP_UTF8, 0, utf8_line.data(), length, nullptr, 0) : 0;
  std::wstring line(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8_line.data(), length, line.data(), n);
  return line + L"\r\n";
}

}  // namespace

void print_error_line(std::string_view utf8_line) {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (!is_console(error)) {
    // Text mode: the line break goes out as CR LF, as it always has.
    std::fwrite(utf8_line.data(), 1, utf8_line.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    return;
  }
  const std::wstring line = utf16_line(utf8_line);
  std::size_t done = 0;
  while (done < line.size()) {
    // Pieces well below the 64 KiB older consoles take in one write, never
    // ending between the two halves of a surrogate pair.
    std::size_t piece = std::min<std::size_t>(line.size() - done, 8192);
    if (done + piece < line.size() && IS_HIGH_SURROGATE(line[done + piece - 1])) --piece;
    DWORD written = 0;
    if (!WriteConsoleW(error, line.data() + done, static_cast<DWORD>(piece), &written, nullptr) || written == 0) {
      return;
    }
    done += written;
  }
}

}  // namespace quiren::tool
