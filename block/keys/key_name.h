// The name in a key block: its holder's suggestion of what to call them (a
// receiver names keys as they like). A name holding a control character, a
// direction mark, an embedding, an override or an isolate makes the block
// unreadable, so that no name can disguise itself as another.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quiren::block {

// U+0000..U+001F, U+007F..U+009F, U+200E, U+200F, U+202A..U+202E,
// U+2066..U+2069.
constexpr bool is_forbidden_in_key_names(char32_t c) {
  return c <= 0x1F || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

enum class KeyNameProblem {
  none,
  not_utf8,
  too_long,             // over kLongestKeyName bytes once in NFC
  forbidden_character,  // is_forbidden_in_key_names
};

struct KeyName {
  KeyNameProblem problem = KeyNameProblem::none;
  std::string utf8;  // in NFC, when there is no problem
};

// The name as a writer puts it into a key block: in NFC, and refused when it
// is too long or holds a forbidden character.
KeyName key_name_to_write(std::string_view utf8);

// Whether a name read from a key block is one a writer writes: valid UTF-8
// in NFC, at most kLongestKeyName bytes, no forbidden character.
bool is_written_key_name(std::string_view utf8);

}  // namespace quiren::block
