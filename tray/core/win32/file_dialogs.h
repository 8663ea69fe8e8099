// The system's "open" and "save as" dialogs (comdlg32), modal to no window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiren::win32 {

enum class FileDialog { open, save };

// The full path chosen, or nullopt when cancelled. `suggested_name` fills
// the name field. The save dialog does not ask about replacing a file.
std::optional<std::u16string> choose_file(FileDialog kind, std::u16string_view title,
                                          std::u16string_view suggested_name);

}  // namespace quiren::win32
