#include <iostream>

#include "tools/quiren/error_output.h"

namespace quiren::tool {

void print_error_line(std::string_view utf8_line) { std::cerr << utf8_line << "\n"; }

}  // namespace quiren::tool
