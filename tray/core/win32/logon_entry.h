// The program's entry among the programs Windows starts when the user logs
// on: a string value in the user's "Run" key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiren::win32 {

// HKEY_CURRENT_USER-relative.
inline constexpr std::wstring_view kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::u16string_view kLogonEntryName = u"mu-quiren";

std::optional<std::u16string> read_logon_entry();
bool write_logon_entry(std::u16string_view command);
bool remove_logon_entry();

}  // namespace quiren::win32
