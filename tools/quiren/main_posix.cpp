// POSIX: the arguments are bytes, UTF-8 in a UTF-8 locale, taken as they are.
#include <string>
#include <vector>

#include "tools/quiren/run_tool.h"

int main(int argc, char** argv) {
  return quiren::tool::run_tool(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
