// Prints SettingValues in test failures, every field by name.
#pragma once

#include <ostream>

#include "tray/core/program_state.h"

namespace quiren {

inline void PrintTo(const SettingValues& v, std::ostream* os) {
  *os << "{orikaesi " << v.orikaesi << ", ango " << v.ango << ", hukugo " << v.hukugo << ", equalpass "
      << v.equalpass << ", quest1 " << int{v.quest1} << ", quest2 " << int{v.quest2} << ", usepasslist1 "
      << v.usepasslist1 << ", usepasslist2 " << v.usepasslist2 << ", strong " << v.strong << "}";
}

}  // namespace quiren
