#include <vector>

#include "tests/e2e/driver/driver.h"

namespace quiren::e2e {

std::wstring driver_directory() {
  std::vector<wchar_t> path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring full(path.data(), n);
  const std::size_t slash = full.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring(L".") : full.substr(0, slash);
}

bool make_directory(std::wstring_view path) {
  const std::wstring p(path);
  return CreateDirectoryW(p.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool copy_file(std::wstring_view from, std::wstring_view to) {
  const std::wstring a(from), b(to);
  return CopyFileW(a.c_str(), b.c_str(), FALSE) != FALSE;
}

bool delete_file(std::wstring_view path) {
  const std::wstring p(path);
  return DeleteFileW(p.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::optional<std::string> read_file_bytes(std::wstring_view path) {
  const std::wstring p(path);
  HANDLE file = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool write_file_bytes(std::wstring_view path, std::string_view bytes) {
  const std::wstring p(path);
  HANDLE file = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::string ansi_bytes(std::wstring_view text) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  }
  return bytes;
}

std::optional<std::wstring> read_utf8_file(std::wstring_view path) {
  auto bytes = read_file_bytes(path);
  if (!bytes) return std::nullopt;
  return wide(*bytes);
}

std::optional<std::wstring> read_user_registry_string(std::wstring_view key, std::wstring_view value) {
  const std::wstring k(key), v(value);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, k.c_str(), v.c_str(), RRF_RT_ANY, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, k.c_str(), v.c_str(), RRF_RT_REG_SZ, &type, buffer.data(), &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer.data());
}

bool delete_user_registry_tree(std::wstring_view key) {
  const std::wstring k(key);
  const LSTATUS rc = RegDeleteTreeW(HKEY_CURRENT_USER, k.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace quiren::e2e
