#include "block/block_decrypt.h"

#include <optional>

#include "block/ascii.h"
#include "block/cipher_library.h"

namespace quiren::block {

namespace {

constexpr std::size_t kFillGroup = 4;
constexpr std::size_t kLongestFill = kFillGroup - 1;

// Armour and mode letters are ASCII; anything else cannot have come from
// the library and is not handed to it.
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
  // Compared piece by piece, so that no filled copy of the password is made.
  const std::size_t short_by = password.size() % kFillGroup == 0 ? 0 : kFillGroup - password.size() % kFillGroup;
  if (decrypted_check.size() != password.size() + short_by) return false;
  if (decrypted_check.substr(0, password.size()) != password) return false;
  const char fill = !password.empty() && password.back() == 'x' ? 'X' : 'x';
  return trailing_run(decrypted_check, fill) >= short_by;
}

std::string_view without_fill(std::string_view result, char16_t mode) {
  if (mode == u'B' || result.empty()) return result;
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
    return result;
  }
  if (run > kLongestFill || run == result.size()) return result;
  char before = result[result.size() - run - 1];
  bool fill_could_follow = must_precede == '\0' ? before != 'x' : before == must_precede;
  if (!fill_could_follow) return result;
  return result.substr(0, result.size() - run);
}

BlockResult decrypt_compatible(const BlockFields& f, std::string_view password, CipherLibrary& library) {
  std::optional<std::string> check_field = ascii_bytes(f.check_field);
  std::optional<std::string> check_mode = mode_bytes(f.check_mode);
  std::optional<std::string> text_field = ascii_bytes(f.text_field);
  std::optional<std::string> text_mode = mode_bytes(f.text_mode);
  if (!check_field || !check_mode || !text_field || !text_mode) return {Outcome::damaged};

  const std::optional<SecretBytes> check = library.decrypt(*check_field, password, *check_mode);
  if (!check) return {Outcome::failed};
  if (!password_matches(check->view(), f.check_mode, password)) return {Outcome::wrong_password};

  std::optional<SecretBytes> text = library.decrypt(*text_field, password, *text_mode);
  if (!text) return {Outcome::failed};
  // An empty text is never compressed: a compressed block that expands to
  // nothing under the right password was made with a shared code table
  // this computer does not have.
  if (text->empty() && f.text_mode == u'B') return {Outcome::needs_shared_table};
  text->resize(without_fill(text->view(), f.text_mode).size());
  return {Outcome::opened, std::move(*text)};
}

}  // namespace quiren::block
