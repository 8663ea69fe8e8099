// Windows: the wide entry point, as main's narrow arguments come in the
// ANSI code page and lose what it cannot hold. They become UTF-8 here, once.
#include <string>
#include <string_view>
#include <vector>

#include "tools/quiren/error_output.h"
#include "tools/quiren/run_tool.h"
#include "tools/quiren/tool_commands.h"
#include "tools/quiren/utf8_arguments.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> utf16_args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg(argv[i]);
    utf16_args.emplace_back(arg.begin(), arg.end());
  }
  const quiren::tool::Utf8Arguments args = quiren::tool::utf8_arguments(utf16_args);
  if (!args.problem.empty()) {
    quiren::tool::print_error_line("quiren: " + args.problem);
    return quiren::tool::kExitBadInput;
  }
  return quiren::tool::run_tool(args.args);
}
