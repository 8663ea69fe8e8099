// The whole tool after its entry point (main_posix.cpp, main_win32.cpp):
// the arguments after the program's name, UTF-8, in; the exit status out.
#pragma once

#include <string>
#include <vector>

namespace quiren::tool {

int run_tool(const std::vector<std::string>& args);

}  // namespace quiren::tool
