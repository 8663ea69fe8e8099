#include "tools/quiren/utf8.h"

#include <cstdio>

namespace quiren::tool {

std::string describe_char(char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  std::string out = code;
  bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
  if (!control) {
    out += " '";
    append_utf8(out, c);
    out += "'";
  }
  return out;
}

}  // namespace quiren::tool
