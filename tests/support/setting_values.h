// SettingValues in tests: the defaults with the fields a test names
// changed, and every field printed by name in failures.
#pragma once

#include <concepts>
#include <ostream>

#include "tray/core/program_state.h"

namespace quiren {

// The values a fresh start has, with `changes` made to them:
//   defaults_with([](SettingValues& v) { v.wrap_width = 62; v.strong = false; })
template <std::invocable<SettingValues&>... Changes>
SettingValues defaults_with(Changes... changes) {
  SettingValues values;
  (changes(values), ...);
  return values;
}

inline void PrintTo(const SettingValues& v, std::ostream* os) {
  *os << std::boolalpha << "{wrap_width " << v.wrap_width << ", encrypt_with_fixed_password "
      << v.encrypt_with_fixed_password << ", decrypt_with_fixed_password " << v.decrypt_with_fixed_password
      << ", decrypt_with_encrypt_password " << v.decrypt_with_encrypt_password << ", ask_before_encrypt "
      << int{v.ask_before_encrypt} << ", ask_before_decrypt " << int{v.ask_before_decrypt}
      << ", encrypt_password_from_list " << v.encrypt_password_from_list << ", decrypt_password_from_list "
      << v.decrypt_password_from_list << ", strong " << v.strong << ", strong_only " << v.strong_only << "}";
}

}  // namespace quiren
