// Windows: a UTF-8 file name as the UTF-16 file functions take it.
#pragma once

#include <optional>
#include <string>

#include "block/utf8.h"

namespace quiren::tool {

// nullopt when `utf8_path` is not valid UTF-8 (the command line's
// conversion makes every name valid, so this is only a guard).
inline std::optional<std::wstring> wide_path(const std::string& utf8_path) {
  const std::optional<std::u16string> utf16 = block::utf16_from_utf8(utf8_path);
  if (!utf16) return std::nullopt;
  return std::wstring(utf16->begin(), utf16->end());
}

}  // namespace quiren::tool
