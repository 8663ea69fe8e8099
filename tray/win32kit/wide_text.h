// UTF-16 text between the portable std::u16string and the Win32 wide APIs.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

namespace quiren::win32 {

inline std::wstring to_wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string from_wide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace quiren::win32
