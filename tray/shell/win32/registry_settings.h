// The settings store in the registry: string values (REG_SZ) under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// where the earlier version of the program kept them, so an upgrade keeps them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiren::win32 {

// HKCU-relative path of the program's settings key.
extern const wchar_t kSettingsKeyPath[];

// The value's text; nullopt when the key or value is absent or the value is
// not a string (REG_SZ).
std::optional<std::u16string> read_registry_setting(std::u16string_view name);
// Creates the key if needed and writes the value as REG_SZ. False on failure.
bool write_registry_setting(std::u16string_view name, std::u16string_view value);

}  // namespace quiren::win32
