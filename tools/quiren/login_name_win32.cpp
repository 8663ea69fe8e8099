// Windows: USERNAME, read as UTF-16 (the ANSI form would lose what the code
// page cannot hold).
#include <cstdlib>
#include <string_view>

#include "block/utf8.h"
#include "tools/quiren/login_name.h"

namespace quiren::tool {

std::string login_name() {
  const wchar_t* value = ::_wgetenv(L"USERNAME");
  if (!value) return {};
  const std::wstring_view wide(value);
  return block::utf8_from_utf16(std::u16string(wide.begin(), wide.end()));
}

}  // namespace quiren::tool
