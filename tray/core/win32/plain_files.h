// Small whole-file reads and atomic replacement.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiren::win32 {

// An existing file that is neither a folder nor hidden nor a system file.
bool plain_file_exists(std::u16string_view path);

// The whole file; nullopt when it cannot be opened or read, or is larger
// than `max_bytes`.
std::optional<std::string> read_whole_file(std::u16string_view path, std::size_t max_bytes = 64u << 20);

// Writes the bytes to a temporary file beside the target, flushes it, and
// moves it over the target. False when any step fails; the old file is then
// unchanged and the temporary file removed.
bool replace_file(std::u16string_view path, std::string_view bytes);

}  // namespace quiren::win32
