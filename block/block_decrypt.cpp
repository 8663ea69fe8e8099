#include "block/block_decrypt.h"

#include <optional>

#include "block/ascii.h"
#include "block/block_rules.h"
#include "block/cipher_library.h"
#include "block/password_nfc.h"
#include "block/strong/envelope_check.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_jobs.h"

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

namespace {

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

BlockResult strong_result(OpenResult opened) {
  return {opened.outcome, std::move(opened.text), TextEncoding::utf8};
}

}  // namespace

BlockResult decrypt_block(const BlockItem& item, const BlockPassword& password, CipherLibrary& library,
                           CryptoProvider& crypto) {
  if (item.problem) return {*item.problem};
  if (item.kind == BlockKind::strong) {
    OpenStrongJob job(borrowed(crypto), item.envelope, strong_passwords(password));
    job.run();
    return strong_result(job.take_result());
  }
  return decrypt_compatible(item.fields, password.ansi.view(), library);
}

std::vector<SecretBytes> strong_passwords(const BlockPassword& password) {
  // The key comes from the password in NFC. A block sealed before that rule
  // took the password as typed: when it differs from its NFC form, that is
  // tried too, after the NFC key failed.
  std::vector<SecretBytes> forms;
  std::optional<SecretBytes> nfc = nfc_utf8(password.utf8.view());
  if (nfc && nfc->view() != password.utf8.view()) forms.push_back(std::move(*nfc));
  forms.push_back(password.utf8.copy());
  return forms;
}

BlockOpener::BlockOpener(BlockPassword password, CipherLibrary& library, std::shared_ptr<CryptoProvider> crypto)
    : password_(std::move(password)), library_(library), crypto_(std::move(crypto)) {}

BlockResult BlockOpener::open_strong(const BlockItem& item, JobRunner& runner) {
  const CheckedEnvelope parts = check_envelope(item.envelope);
  const bool readable = !parts.problem;
  if (readable && parts.ciphertext_and_tag.size() - kTagSize > kLongestText - given_back_) {
    spent_ = true;
    return {Outcome::over_limit};
  }
  const auto job = std::make_shared<OpenStrongJob>(crypto_, item.envelope, strong_passwords(password_));
  if (!runner.run(job)) return {Outcome::cancelled};
  return strong_result(job->take_result());
}

BlockResult BlockOpener::open(const BlockItem& item, JobRunner& runner) {
  if (spent_) return {Outcome::over_limit};
  BlockResult outcome;
  if (item.problem) {
    outcome = BlockResult{*item.problem};
  } else if (item.kind == BlockKind::strong) {
    outcome = open_strong(item, runner);
  } else {
    outcome = decrypt_compatible(item.fields, password_.ansi.view(), library_);
  }
  if (outcome.outcome != Outcome::opened) return outcome;
  if (outcome.text.size() > kLongestText - given_back_) {
    spent_ = true;
    return {Outcome::over_limit};
  }
  given_back_ += outcome.text.size();
  return outcome;
}

}  // namespace quiren::block
