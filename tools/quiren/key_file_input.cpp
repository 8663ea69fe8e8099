#include "tools/quiren/key_file_input.h"

#include <cstdio>

#include "block/keys/key_file.h"
#include "tools/quiren/file_access.h"
#include "tools/quiren/tool_texts.h"

namespace quiren::tool {

namespace {

// The name as given, with control characters replaced so that the message
// stays one line.
std::string printable_name(const std::string& path) {
  std::string name = path;
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return name;
}

std::string named(std::string_view problem, const std::string& path) {
  return std::string(problem) + ": " + printable_name(path);
}

KeyRead refused(std::string_view problem) { return {false, std::nullopt, std::string(problem)}; }

std::string_view sealed_problem(block::Outcome outcome) {
  switch (outcome) {
    case block::Outcome::later_format:
      return texts::kKeyFileLater;
    case block::Outcome::refused_settings:
      return texts::kKeyFileRefused;
    case block::Outcome::wrong_password:
      return texts::kKeyFileWrongPassphrase;
    case block::Outcome::failed:
      return texts::kCryptoFailed;
    case block::Outcome::opened:
    case block::Outcome::not_for_this_key:
    case block::Outcome::needs_key:
    case block::Outcome::damaged:
    case block::Outcome::needs_shared_table:
    case block::Outcome::over_limit:
    case block::Outcome::cancelled:
    case block::Outcome::compatible_refused:
      break;
  }
  return texts::kKeyFileDamaged;
}

struct ClosedOnExit {
  std::FILE* file;
  ~ClosedOnExit() { std::fclose(file); }
};

}  // namespace

KeyRead key_from_file_text(std::string_view bytes, const PassphraseSource& passphrase, block::CryptoProvider& crypto) {
  block::KeyFileText file = block::read_key_file_text(bytes);
  switch (file.form) {
    case block::KeyFileForm::none:
      return refused(texts::kKeyFileNoKey);
    case block::KeyFileForm::bare:
      return {true, std::move(file.key), {}};
    case block::KeyFileForm::sealed:
      break;
  }
  if (file.problem) return refused(sealed_problem(*file.problem));
  PasswordRead read = passphrase();
  if (!read.ok) return refused(read.problem);
  block::SealedKeyOpened opened = block::open_sealed_key(crypto, file.envelope, read.password.view());
  if (opened.outcome != block::Outcome::opened) return refused(sealed_problem(opened.outcome));
  return {true, std::move(opened.key), {}};
}

FileBytes read_key_file(const std::string& path) {
  // Looked at before it is opened, as a password file is.
  const FileLook look = look_at_file(path);
  switch (look.state) {
    case FileState::regular:
      break;
    case FileState::missing:
      return {false, {}, named(texts::kKeyFileMissing, path)};
    case FileState::not_regular:
      return {false, {}, named(texts::kKeyFileNotRegular, path)};
    case FileState::unreadable:
      return {false, {}, named(texts::kKeyFileUnreadable, path) + " (" + look.error + ")"};
  }
  std::FILE* file = open_file_for_reading(path);
  if (!file) return {false, {}, named(texts::kKeyFileUnreadable, path)};
  ClosedOnExit closing{file};
  // Unbuffered, so that no copy of a bare key stays behind in a stdio buffer.
  std::setvbuf(file, nullptr, _IONBF, 0);
  FileBytes read{true, {}, {}};
  // One byte more than the largest file read tells a larger one.
  read.bytes.resize(block::kLargestKeyFile + 1);
  read.bytes.resize(std::fread(read.bytes.data(), 1, read.bytes.size(), file));
  if (std::ferror(file)) return {false, {}, named(texts::kKeyFileUnreadable, path)};
  if (read.bytes.size() > block::kLargestKeyFile) return {false, {}, named(texts::kKeyFileTooLarge, path)};
  return read;
}

KeyRead key_from_file(const std::string& path, const PassphraseSource& passphrase, block::CryptoProvider& crypto) {
  FileBytes file = read_key_file(path);
  if (!file.ok) return refused(file.problem);
  KeyRead read = key_from_file_text(file.bytes.view(), passphrase, crypto);
  if (!read.ok) read.problem = named(read.problem, path);
  return read;
}

}  // namespace quiren::tool
