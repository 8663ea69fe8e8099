// Windows: the console, read with ReadConsoleW with echo turned off.
#include <windows.h>

#include "tools/quiren/password_input.h"

namespace quiren::tool {

namespace {

std::string to_utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  int length = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring to_wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int length = static_cast<int>(utf8.size());
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), n);
  return out;
}

}  // namespace

PasswordRead password_from_terminal(const std::string& prompt) {
  const PasswordRead no_console{false, {}, "no console to ask for the password; use --password-file FILE"};
  HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return no_console;
  HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  DWORD saved = 0;
  if (!GetConsoleMode(in, &saved)) {
    CloseHandle(in);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    return no_console;
  }
  SetConsoleMode(in, (saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT);
  std::wstring wide_prompt = to_wide(prompt);
  DWORD written = 0;
  if (out != INVALID_HANDLE_VALUE) {
    WriteConsoleW(out, wide_prompt.data(), static_cast<DWORD>(wide_prompt.size()), &written, nullptr);
  }
  std::wstring line;
  wchar_t buffer[256];
  bool got_line = false;
  for (;;) {
    DWORD read = 0;
    if (!ReadConsoleW(in, buffer, 256, &read, nullptr) || read == 0) break;
    line.append(buffer, read);
    std::size_t eol = line.find(L'\n');
    if (eol != std::wstring::npos) {
      line.erase(eol);
      got_line = true;
      break;
    }
  }
  if (!line.empty() && line.back() == L'\r') line.pop_back();
  SetConsoleMode(in, saved);
  if (out != INVALID_HANDLE_VALUE) {
    WriteConsoleW(out, L"\r\n", 2, &written, nullptr);
    CloseHandle(out);
  }
  CloseHandle(in);
  if (!got_line && line.empty()) return {false, {}, "no password was entered"};
  return {true, to_utf8(line), {}};
}

}  // namespace quiren::tool
