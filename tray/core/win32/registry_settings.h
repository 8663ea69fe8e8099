// The settings store in the registry: string values (REG_SZ) under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// where the earlier version of the program kept them, so an upgrade keeps them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tray/core/settings_keys.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

// Where the runtime of the earlier version kept every program's settings.
inline constexpr std::wstring_view kProgramSettingsRoot = L"Software\\VB and VBA Program Settings";

// HKCU-relative keys of the application (everything the program stores)
// and of its settings section.
inline std::wstring application_key_path() {
  return std::wstring(kProgramSettingsRoot) + L"\\" + to_wide(settings::kApplication);
}
inline std::wstring settings_key_path() { return application_key_path() + L"\\" + to_wide(settings::kSection); }

// The value's text; nullopt when the key or value is absent or the value is
// not a string (REG_SZ).
std::optional<std::u16string> read_registry_setting(std::u16string_view name);
// Creates the key if needed and writes the value as REG_SZ. False on failure.
bool write_registry_setting(std::u16string_view name, std::u16string_view value);

}  // namespace quiren::win32
