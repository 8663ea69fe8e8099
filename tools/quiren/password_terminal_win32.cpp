// Windows: the console, read with ReadConsoleW with echo turned off. While
// echo is off, a console control event (Ctrl+C, Ctrl+Break, closing the
// window) first puts the console mode back and wipes what was typed; the
// default handler then ends the process as usual.
#include <windows.h>

#include <string>
#include <string_view>

#include "tools/quiren/password_input.h"
#include "tools/quiren/tool_texts.h"

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

// The control handler runs on a thread of its own: what it touches is
// shared under this lock, which the reading thread never holds while it
// waits for input.
SRWLOCK prompt_lock = SRWLOCK_INIT;
HANDLE prompt_input = INVALID_HANDLE_VALUE;
DWORD saved_mode = 0;
std::wstring* typed = nullptr;

BOOL WINAPI restore_console(DWORD) {
  AcquireSRWLockExclusive(&prompt_lock);
  if (prompt_input != INVALID_HANDLE_VALUE) SetConsoleMode(prompt_input, saved_mode);
  if (typed) wipe(*typed);
  ReleaseSRWLockExclusive(&prompt_lock);
  return FALSE;  // on to the default handler, which ends the process
}

}  // namespace

PasswordRead password_from_terminal(const std::string& prompt) {
  const auto no_console = [] {
    return PasswordRead{false, {}, "no console to ask for the password; use --password-file FILE"};
  };
  HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return no_console();
  HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  DWORD saved = 0;
  if (!GetConsoleMode(in, &saved)) {
    CloseHandle(in);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    return no_console();
  }
  std::wstring line;
  // Room for the longest line and a chunk: appending never moves the
  // characters and leaves a copy behind.
  line.reserve(kPasswordLineLimit + 256 + 2);
  AcquireSRWLockExclusive(&prompt_lock);
  prompt_input = in;
  saved_mode = saved;
  typed = &line;
  ReleaseSRWLockExclusive(&prompt_lock);
  const bool handling = SetConsoleCtrlHandler(restore_console, TRUE) != 0;

  SetConsoleMode(in, (saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT);
  std::wstring wide_prompt = to_wide(prompt);
  DWORD written = 0;
  if (out != INVALID_HANDLE_VALUE) {
    WriteConsoleW(out, wide_prompt.data(), static_cast<DWORD>(wide_prompt.size()), &written, nullptr);
  }
  wchar_t buffer[256];
  bool got_line = false;
  bool too_long = false;
  while (!got_line) {
    DWORD read = 0;
    if (!ReadConsoleW(in, buffer, 256, &read, nullptr) || read == 0) break;
    std::wstring_view chunk(buffer, read);
    const std::size_t eol = chunk.find(L'\n');
    got_line = eol != std::wstring_view::npos;
    if (got_line) chunk = chunk.substr(0, eol);
    AcquireSRWLockExclusive(&prompt_lock);
    // Past the limit (and a CR) the rest of the line is read and dropped.
    if (!too_long) line.append(chunk);
    if (line.size() > kPasswordLineLimit + 1) {
      too_long = true;
      wipe(line);
    }
    ReleaseSRWLockExclusive(&prompt_lock);
    wipe(buffer, sizeof buffer);
  }
  SetConsoleMode(in, saved);
  if (handling) SetConsoleCtrlHandler(restore_console, FALSE);
  AcquireSRWLockExclusive(&prompt_lock);
  prompt_input = INVALID_HANDLE_VALUE;
  typed = nullptr;
  ReleaseSRWLockExclusive(&prompt_lock);
  if (out != INVALID_HANDLE_VALUE) {
    WriteConsoleW(out, L"\r\n", 2, &written, nullptr);
    CloseHandle(out);
  }
  CloseHandle(in);

  if (!line.empty() && line.back() == L'\r') line.pop_back();
  if (!too_long && !got_line && line.empty()) return {false, {}, "no password was entered"};
  PasswordRead result{true, SecretBytes(to_utf8(line)), {}};
  wipe(line);
  if (too_long || result.password.size() > kPasswordLineLimit) {
    return {false, {}, std::string(texts::kPasswordLineTooLong)};
  }
  return result;
}

}  // namespace quiren::tool
