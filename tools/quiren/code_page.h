// Conversion between the tool's UTF-8 text and the ANSI code page the
// library works in. A character the code page cannot hold is refused, never
// replaced.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quiren::tool {

struct Converted {
  bool ok = false;
  std::string bytes;
  std::string problem;  // when !ok: one line naming what could not be converted
};

class CodePage {
 public:
  virtual ~CodePage() = default;
  // Valid UTF-8 in, ANSI bytes out.
  virtual Converted from_utf8(std::string_view utf8) = 0;
  // ANSI bytes in, UTF-8 out.
  virtual Converted to_utf8(std::string_view ansi) = 0;
};

// The system's converter for a code page number (932, 1252, ...); nullptr
// when the system does not know it.
std::unique_ptr<CodePage> open_code_page(unsigned number);

}  // namespace quiren::tool
