// Text values under HKEY_CURRENT_USER: what the settings store and the
// program's log-on entry are made of.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiren::win32 {

// The value's text; nullopt when the key or the value is absent or the
// value is not a string (REG_SZ).
std::optional<std::u16string> read_registry_text(std::wstring_view key_path, std::u16string_view name);
// Creates the key if needed and writes the value as REG_SZ. False on failure.
bool write_registry_text(std::wstring_view key_path, std::u16string_view name, std::u16string_view value);
// Deletes the value; true also when it (or its key) was not there.
bool remove_registry_value(std::wstring_view key_path, std::u16string_view name);

}  // namespace quiren::win32
