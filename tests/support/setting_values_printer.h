// Prints SettingValues in test failures, every field by name.
#pragma once

#include <ostream>

#include "tray/core/program_state.h"

namespace quiren {

inline void PrintTo(const SettingValues& v, std::ostream* os) {
  *os << std::boolalpha << "{wrap_width " << v.wrap_width << ", encrypt_with_fixed_password "
      << v.encrypt_with_fixed_password << ", decrypt_with_fixed_password " << v.decrypt_with_fixed_password
      << ", decrypt_with_encrypt_password " << v.decrypt_with_encrypt_password << ", ask_before_encrypt "
      << int{v.ask_before_encrypt} << ", ask_before_decrypt " << int{v.ask_before_decrypt}
      << ", encrypt_password_from_list " << v.encrypt_password_from_list << ", decrypt_password_from_list "
      << v.decrypt_password_from_list << ", strong " << v.strong << "}";
}

}  // namespace quiren
