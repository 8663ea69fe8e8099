#include "tray/core/win32/registry_settings.h"

#include "tray/core/win32/registry_values.h"

namespace quiren::win32 {

std::optional<std::u16string> read_registry_setting(std::u16string_view name) {
  return read_registry_text(settings_key_path(), name);
}

bool write_registry_setting(std::u16string_view name, std::u16string_view value) {
  return write_registry_text(settings_key_path(), name, value);
}

}  // namespace quiren::win32
