#include "tools/quiren/utf8_arguments.h"

#include "block/filled_text.h"
#include "block/utf8.h"
#include "tools/quiren/tool_texts.h"

namespace quiren::tool {

Utf8Arguments utf8_arguments(std::span<const std::u16string> utf16_args) {
  Utf8Arguments converted;
  converted.args.reserve(utf16_args.size());
  for (std::size_t i = 0; i < utf16_args.size(); ++i) {
    const std::u16string& arg = utf16_args[i];
    if (!block::is_valid_utf16(arg)) {
      // Shown with U+FFFD in place of the lone half.
      return {{},
              block::filled(texts::kArgumentNotUnicode,
                            {{"position", std::to_string(i + 1)}, {"argument", block::utf8_from_utf16(arg)}})};
    }
    converted.args.push_back(block::utf8_from_utf16(arg));
  }
  return converted;
}

}  // namespace quiren::tool
