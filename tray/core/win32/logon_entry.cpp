#include "tray/core/win32/logon_entry.h"

#include "tray/core/win32/registry_values.h"

namespace quiren::win32 {

std::optional<std::u16string> read_logon_entry() { return read_registry_text(kRunKeyPath, kLogonEntryName); }

bool write_logon_entry(std::u16string_view command) {
  return write_registry_text(kRunKeyPath, kLogonEntryName, command);
}

bool remove_logon_entry() { return remove_registry_value(kRunKeyPath, kLogonEntryName); }

}  // namespace quiren::win32
