#include "tray/passlist/password_list_file.h"

#include <charconv>
#include <utility>

#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"
#include "tray/passlist/protected_list_file.h"

namespace quiren {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// One line's quoted field: blanks, '"', text without '"', '"', blanks.
// Quote, CR and LF bytes never occur inside a double-byte character of the
// ANSI code pages, so a byte scan is safe.
std::optional<std::string_view> quoted_field(std::string_view line) {
  line = trim_blanks(line);
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return std::nullopt;
  std::string_view inner = line.substr(1, line.size() - 2);
  if (inner.find('"') != std::string_view::npos) return std::nullopt;
  return inner;
}

std::optional<std::int32_t> count_field(std::string_view line) {
  line = trim_blanks(line);
  std::int32_t value = 0;
  auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (ec != std::errc() || end != line.data() + line.size()) return std::nullopt;
  return value;
}

// Lines ended by LF with an optional CR before it; a last line without an
// ending counts too.
std::vector<std::string_view> split_lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    std::size_t lf = bytes.find('\n');
    std::string_view line = bytes.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    bytes.remove_prefix(lf + 1);
  }
  return lines;
}

std::u16string join(std::u16string_view directory, std::u16string_view name) {
  std::u16string path(directory);
  if (path.empty() || path.back() != u'\\') path += u'\\';
  path += name;
  return path;
}

// Whether the file's text comes back as the same bytes when written: a
// field in another code page, or with bytes that are no character in this
// one, would not.
bool writes_back(std::u16string_view text, std::string_view field, Desktop& desktop) {
  AnsiText ansi = desktop.to_ansi(text);
  const block::SecretBytes bytes(std::move(ansi.bytes));
  return ansi.lossless && bytes.view() == field;
}

}  // namespace

std::u16string password_file_path(std::u16string_view program_directory) {
  return join(program_directory, kPasswordFileName);
}

std::u16string password_backup_path(std::u16string_view program_directory) {
  return join(program_directory, kPasswordBackupName);
}

LoadedPasswordFile parse_password_file(std::string_view bytes, Desktop& desktop) {
  LoadedPasswordFile result;
  result.source = PasswordFileSource::whole;
  std::vector<std::string_view> lines = split_lines(bytes);
  if (lines.empty()) return result;  // an empty file holds nothing to lose
  result.stored_count = count_field(lines.front());

  // Blank lines carry no field (an empty field is written as ""), so they
  // are passed over; the rest pair up as password, description. A pair with
  // a damaged line is left out rather than shown wrong. Which line of a
  // shifted pair is the stray one cannot be told for certain, so the list is
  // not guessed at: the user is told, and the original is kept.
  std::vector<std::string_view> fields;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (!trim_blanks(lines[i]).empty()) fields.push_back(lines[i]);
  }
  bool damaged = fields.size() % 2 != 0;
  for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
    auto password = quoted_field(fields[i]);
    auto description = quoted_field(fields[i + 1]);
    if (!password || !description) {
      damaged = true;
      continue;
    }
    block::SecretText password_text(desktop.from_ansi(*password));
    std::u16string description_text = desktop.from_ansi(*description);
    if (!writes_back(password_text.view(), *password, desktop) ||
        !writes_back(description_text, *description, desktop)) {
      damaged = true;
    }
    result.entries.passwords.push_back(std::move(password_text));
    result.entries.descriptions.push_back(std::move(description_text));
  }
  if (result.stored_count != static_cast<std::int32_t>(result.entries.passwords.size())) damaged = true;
  if (damaged) result.source = PasswordFileSource::damaged;
  return result;
}

block::SecretBytes format_password_file(const PasswordEntries& entries, Desktop& desktop) {
  block::SecretBytes out;
  out.append(std::to_string(entries.passwords.size()));
  out.append(kLineEnd);
  for (std::size_t i = 0; i < entries.passwords.size(); ++i) {
    const std::u16string_view description =
        i < entries.descriptions.size() ? std::u16string_view(entries.descriptions[i]) : std::u16string_view();
    for (const std::u16string_view field : {entries.passwords[i].view(), description}) {
      AnsiText ansi = desktop.to_ansi(field);
      const block::SecretBytes bytes(std::move(ansi.bytes));
      out.push_back('"');
      out.append(bytes.view());
      out.push_back('"');
      out.append(kLineEnd);
    }
  }
  return out;
}

LoadedPasswordFile load_password_file(Desktop& desktop) {
  FileRead file = desktop.read_plain_file(password_file_path(desktop.program_directory()));
  LoadedPasswordFile result;
  switch (file.status) {
    case FileStatus::absent: return result;
    case FileStatus::not_plain: result.source = PasswordFileSource::not_plain; return result;
    case FileStatus::unreadable: result.source = PasswordFileSource::unreadable; return result;
    case FileStatus::read: break;
  }
  if (!is_protected_list_file(file.bytes.view())) {
    result = parse_password_file(file.bytes.view(), desktop);
  } else {
    const std::optional<block::SecretBytes> plain = unseal_list_file(desktop, file.bytes.view());
    if (!plain) {
      result.source = PasswordFileSource::locked;
      result.form = PasswordFileForm::sealed;
      return result;
    }
    result = parse_password_file(plain->view(), desktop);
    result.form = PasswordFileForm::sealed;
  }
  if (result.source == PasswordFileSource::damaged) result.original = std::move(file.bytes);
  return result;
}

PasswordFileForm chosen_password_file_form(Desktop& desktop) {
  using namespace settings;
  const bool sealed = read_boolean_or(desktop, kProtectPasswords, kDefaultProtectPasswords);
  return sealed ? PasswordFileForm::sealed : PasswordFileForm::plain;
}

SaveResult save_password_file(const PasswordEntries& entries, Desktop& desktop, PasswordFileForm form) {
  const std::u16string path = password_file_path(desktop.program_directory());
  const block::SecretBytes bytes = format_password_file(entries, desktop);
  std::optional<std::string> sealed;
  if (form == PasswordFileForm::sealed) {
    sealed = seal_list_file(desktop, bytes.view());
    if (!sealed) return SaveResult::not_sealed;
  }
  const bool replaced = desktop.replace_file(path, sealed ? std::string_view(*sealed) : bytes.view());
  return replaced ? SaveResult::saved : SaveResult::failed;
}

ListRewrite rewrite_password_file(Desktop& desktop, PasswordFileForm form) {
  const std::u16string path = password_file_path(desktop.program_directory());
  const FileRead file = desktop.read_plain_file(path);
  switch (file.status) {
    case FileStatus::absent: return ListRewrite::done;
    case FileStatus::not_plain:
    case FileStatus::unreadable: return ListRewrite::not_written;
    case FileStatus::read: break;
  }
  const bool sealed = is_protected_list_file(file.bytes.view());
  if (sealed == (form == PasswordFileForm::sealed)) return ListRewrite::done;
  if (sealed) {
    const std::optional<block::SecretBytes> plain = unseal_list_file(desktop, file.bytes.view());
    if (!plain) return ListRewrite::unreadable;
    return desktop.replace_file(path, plain->view()) ? ListRewrite::done : ListRewrite::not_written;
  }
  const std::optional<std::string> sealed_file = seal_list_file(desktop, file.bytes.view());
  if (!sealed_file) return ListRewrite::not_written;
  return desktop.replace_file(path, *sealed_file) ? ListRewrite::done : ListRewrite::not_written;
}

BackupResult keep_original(std::string_view original, Desktop& desktop) {
  const std::u16string path = password_backup_path(desktop.program_directory());
  switch (desktop.write_new_file(path, original)) {
    case NewFile::written: return BackupResult::kept;
    case NewFile::failed: return BackupResult::failed;
    case NewFile::exists: break;
  }
  // Kept by an earlier opening of this same file: nothing more to keep.
  const FileRead there = desktop.read_plain_file(path);
  const bool same = there.status == FileStatus::read && there.bytes.view() == original;
  return same ? BackupResult::kept : BackupResult::taken;
}

}  // namespace quiren
