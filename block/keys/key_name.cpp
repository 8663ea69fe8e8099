#include "block/keys/key_name.h"

#include <algorithm>

#include "block/keys/keys_layout.h"
#include "block/password_nfc.h"
#include "block/utf8.h"

namespace quiren::block {

namespace {

bool holds_forbidden(std::u32string_view name) {
  return std::any_of(name.begin(), name.end(), is_forbidden_in_key_names);
}

}  // namespace

KeyName key_name_to_write(std::string_view utf8) {
  const std::optional<std::u32string> characters = decode_utf8(utf8);
  if (!characters) return {KeyNameProblem::not_utf8, {}};
  if (holds_forbidden(*characters)) return {KeyNameProblem::forbidden_character, {}};
  const std::optional<SecretBytes> nfc = nfc_utf8(utf8);
  if (!nfc) return {KeyNameProblem::not_utf8, {}};
  if (nfc->size() > kLongestKeyName) return {KeyNameProblem::too_long, {}};
  return {KeyNameProblem::none, std::string(nfc->view())};
}

bool is_written_key_name(std::string_view utf8) {
  if (utf8.size() > kLongestKeyName) return false;
  const std::optional<std::u32string> characters = decode_utf8(utf8);
  if (!characters || holds_forbidden(*characters)) return false;
  const std::optional<SecretBytes> nfc = nfc_utf8(utf8);
  return nfc && nfc->view() == utf8;
}

}  // namespace quiren::block
