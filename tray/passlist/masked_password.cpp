#include "tray/passlist/masked_password.h"

#include <cstddef>

namespace quiren::passlist {
namespace {

// The UTF-16 units of the character that starts at `at`.
std::size_t character_length(std::u16string_view text, std::size_t at) {
  const bool high = text[at] >= 0xD800 && text[at] <= 0xDBFF;
  const bool low_follows = at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
  return high && low_follows ? 2 : 1;
}

}  // namespace

block::SecretText masked_password(std::u16string_view password) {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < password.size(); at += character_length(password, at)) ++characters;
  // Two characters shown of a two-character password would be all of it.
  const std::size_t shown = characters > 2 ? 2 : 0;
  std::size_t shown_units = 0;
  for (std::size_t i = 0; i < shown; ++i) shown_units += character_length(password, shown_units);

  block::SecretText line;
  line.reserve(shown_units + (characters - shown));
  line.append(password.substr(0, shown_units));
  for (std::size_t i = shown; i < characters; ++i) line.push_back(kMaskCharacter);
  return line;
}

}  // namespace quiren::passlist
