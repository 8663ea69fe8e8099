#include "tests/e2e/driver/driver.h"

namespace quiren::e2e {
namespace {

// Quotes one argument the way CommandLineToArgvW reads it back.
void append_argument(std::wstring& line, std::wstring_view arg) {
  if (!line.empty()) line.push_back(L' ');
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring_view::npos) {
    line.append(arg);
    return;
  }
  line.push_back(L'"');
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      line.append(backslashes * 2 + 1, L'\\');
    } else {
      line.append(backslashes, L'\\');
    }
    backslashes = 0;
    line.push_back(c);
  }
  line.append(backslashes * 2, L'\\');
  line.push_back(L'"');
}

}  // namespace

std::wstring command_line(std::wstring_view exe, const std::vector<std::wstring>& args) {
  std::wstring line;
  append_argument(line, exe);
  for (const auto& arg : args) append_argument(line, arg);
  return line;
}

Process::Process(std::wstring_view exe, const std::vector<std::wstring>& args, std::wstring_view cwd) {
  std::wstring line = command_line(exe, args);
  const std::wstring exe_path(exe);
  const std::wstring folder(cwd);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Wine has been seen to refuse a start once with ERROR_INTERNAL_ERROR on
  // a busy machine, and to start the same program at the next try: that
  // error alone is tried again, a few times.
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (CreateProcessW(exe_path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
      return;
    }
    error = GetLastError();
    info_ = {};
    if (error != ERROR_INTERNAL_ERROR) break;
    Sleep(250);
  }
  check(false, "start " + utf8(line) + " (error " + std::to_string(error) + ")");
}

Process::~Process() {
  terminate();
}

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    terminate();
    info_ = other.info_;
    other.info_ = {};
  }
  return *this;
}

std::optional<DWORD> Process::wait(Millis timeout) {
  if (!info_.hProcess) return std::nullopt;
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Process::terminate() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

std::optional<std::string> run_console(std::wstring_view exe, const std::vector<std::wstring>& args,
                                       std::string_view input, std::wstring_view cwd) {
  std::wstring line;
  append_argument(line, exe);
  for (const auto& arg : args) append_argument(line, arg);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE in_read = nullptr, in_write = nullptr, out_read = nullptr, out_write = nullptr;
  if (!CreatePipe(&in_read, &in_write, &inherit, 0)) return std::nullopt;
  if (!CreatePipe(&out_read, &out_write, &inherit, 0)) {
    CloseHandle(in_read);
    CloseHandle(in_write);
    return std::nullopt;
  }
  SetHandleInformation(in_write, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out_write;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  const std::wstring folder(cwd);
  const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      folder.empty() ? nullptr : folder.c_str(), &startup, &info);
  CloseHandle(in_read);
  CloseHandle(out_write);
  std::optional<std::string> output;
  if (started) {
    DWORD written = 0;
    WriteFile(in_write, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    CloseHandle(in_write);
    in_write = nullptr;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(out_read, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    DWORD code = 1;
    if (WaitForSingleObject(info.hProcess, 60'000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    if (code == 0) output = std::move(bytes);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  if (in_write) CloseHandle(in_write);
  CloseHandle(out_read);
  return output;
}

}  // namespace quiren::e2e
