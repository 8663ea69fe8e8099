// Reading and writing the settings store through the desktop services.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tray/core/desktop.h"
#include "tray/core/program_state.h"

namespace quiren::settings {

// The outcome of the start-up read: the values, or the first key whose
// stored text could not be converted (the program must not start then).
struct StartupRead {
  SettingValues values;
  std::optional<std::u16string_view> bad_key;
  bool ok() const { return !bad_key.has_value(); }
};

// Reads the start-up keys in the order the earlier version read them (wrap
// width, the fixed-password and list choices, the two questions) and stops
// at the first one that is stored but not convertible. Absent keys take
// their defaults. Then "strong" and "strongonly", whose unreadable texts
// count as absent.
StartupRead load_startup_settings(Desktop& desktop);

// Lenient readers for everything but start-up: an absent key or a text
// that cannot be converted gives the default.
bool read_boolean_or(Desktop& desktop, std::u16string_view key, bool fallback);
std::int64_t read_number_or(Desktop& desktop, std::u16string_view key, std::int64_t fallback);
std::u16string read_text_or(Desktop& desktop, std::u16string_view key, std::u16string_view fallback);

// The clipboard watch is on when the stored number is exactly 1 (absent or
// unreadable: on).
bool watch_enabled(Desktop& desktop);

// Writers in the forms the settings dialog uses.
void write_boolean(Desktop& desktop, std::u16string_view key, bool value);  // "True"/"False"
void write_check(Desktop& desktop, std::u16string_view key, bool ticked);   // "1"/"0"

}  // namespace quiren::settings
