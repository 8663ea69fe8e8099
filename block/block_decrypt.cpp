#include "block/block_decrypt.h"

#include <optional>

#include "block/cipher_library.h"

namespace quiren::block {

namespace {

constexpr std::size_t kFillGroup = 4;
constexpr std::size_t kLongestFill = kFillGroup - 1;

// Armour and mode letters are ASCII; anything else cannot have come from
// the library and is not handed to it.
std::optional<std::string> ascii_bytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    bytes.push_back(static_cast<char>(c));
  }
  return bytes;
}

std::optional<std::string> mode_bytes(char16_t mode) {
  if (mode == u'\0') return std::string();
  return ascii_bytes(std::u16string_view(&mode, 1));
}

std::size_t trailing_run(std::string_view s, char c) {
  std::size_t n = 0;
  while (n < s.size() && s[s.size() - 1 - n] == c) ++n;
  return n;
}

}  // namespace

std::string filled_like_encryption(std::string_view bytes) {
  std::string filled(bytes);
  if (filled.size() % kFillGroup == 0) return filled;
  char fill = filled.back() == 'x' ? 'X' : 'x';
  filled.append(kFillGroup - filled.size() % kFillGroup, fill);
  return filled;
}

bool password_matches(std::string_view decrypted_check, char16_t check_mode, std::string_view password) {
  if (check_mode == u'B') return decrypted_check == password;
  return decrypted_check == filled_like_encryption(password);
}

std::string cleanresult(std::string_view result, char16_t mode) {
  if (mode == u'B' || result.empty()) return std::string(result);
  // "x" fill follows a last byte other than "x"; "X" fill follows an "x".
  char last = result.back();
  std::size_t run = 0;
  char must_precede = '\0';
  if (last == 'x') {
    run = trailing_run(result, 'x');
  } else if (last == 'X') {
    run = trailing_run(result, 'X');
    must_precede = 'x';
  } else {
    return std::string(result);
  }
  if (run > kLongestFill || run == result.size()) return std::string(result);
  char before = result[result.size() - run - 1];
  bool fill_could_follow = must_precede == '\0' ? before != 'x' : before == must_precede;
  if (!fill_could_follow) return std::string(result);
  return std::string(result.substr(0, result.size() - run));
}

BlockOutcome decrypt_block(const BlockItem& item, std::string_view password, CipherLibrary& library) {
  switch (item.problem) {
    case BlockProblem::unknown_mode_letter:
      return {BlockOutcomeKind::version_cannot_read, {}};
    case BlockProblem::no_separator:
      return {BlockOutcomeKind::unreadable, {}};
    case BlockProblem::none:
      break;
  }
  const BlockFields& f = item.fields;
  std::optional<std::string> check_field = ascii_bytes(f.check_field);
  std::optional<std::string> check_mode = mode_bytes(f.check_mode);
  std::optional<std::string> text_field = ascii_bytes(f.text_field);
  std::optional<std::string> text_mode = mode_bytes(f.text_mode);
  if (!check_field || !check_mode || !text_field || !text_mode) return {BlockOutcomeKind::unreadable, {}};

  std::optional<std::string> check = library.decrypt(*check_field, password, *check_mode);
  if (!check) return {BlockOutcomeKind::library_failed, {}};
  if (!password_matches(*check, f.check_mode, password)) return {BlockOutcomeKind::wrong_password, {}};

  std::optional<std::string> text = library.decrypt(*text_field, password, *text_mode);
  if (!text) return {BlockOutcomeKind::library_failed, {}};
  return {BlockOutcomeKind::plain_text, cleanresult(*text, f.text_mode)};
}

}  // namespace quiren::block
