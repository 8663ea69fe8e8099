#include "tray/core/win32/registry_values.h"

#include <windows.h>

#include <vector>

#include "tray/win32kit/owned_handle.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

// The key under HKEY_CURRENT_USER, opened for `access`; empty when it is
// not there (or refused).
ScopedRegistryKey open_key(std::wstring_view path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return ScopedRegistryKey(key);
}

}  // namespace

std::optional<std::u16string> read_registry_text(std::wstring_view key_path, std::u16string_view name) {
  const ScopedRegistryKey key = open_key(key_path, KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  const std::wstring value_name = to_wide(name);
  // The value may change size between the two calls: try a few times.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), value_name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
      return std::nullopt;
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LONG rc = RegQueryValueExW(key.get(), value_name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    // A stored string need not end in NUL; stop at the first one if it does.
    std::size_t units = got / sizeof(wchar_t);
    if (units > buffer.size()) units = buffer.size();
    std::size_t length = 0;
    while (length < units && buffer[length] != L'\0') ++length;
    return from_wide(std::wstring_view(buffer.data(), length));
  }
  return std::nullopt;
}

bool write_registry_text(std::wstring_view key_path, std::u16string_view name, std::u16string_view value) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(key_path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &created, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const ScopedRegistryKey key(created);
  const std::wstring value_name = to_wide(name);
  const std::wstring text = to_wide(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), value_name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        bytes) == ERROR_SUCCESS;
}

bool remove_registry_value(std::wstring_view key_path, std::u16string_view name) {
  HKEY opened = nullptr;
  const LONG open = RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(key_path).c_str(), 0, KEY_SET_VALUE, &opened);
  if (open == ERROR_FILE_NOT_FOUND) return true;
  if (open != ERROR_SUCCESS) return false;
  const ScopedRegistryKey key(opened);
  const LONG rc = RegDeleteValueW(key.get(), to_wide(name).c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace quiren::win32
