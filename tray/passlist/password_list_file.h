// The password list file quiren.pas beside the program: a count line, then
// each entry as two quoted lines (password, description), CR LF after every
// line, text in the ANSI code page. That is the plain form; the file may
// instead be sealed for the Windows user (protected_list_file.h), and is
// read in either form and written in the one the settings ask for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/secret.h"
#include "tray/core/desktop.h"
#include "tray/core/list_file_protection.h"

namespace quiren {

inline constexpr std::u16string_view kPasswordFileName = u"quiren.pas";
// Where a damaged file's original is kept before the first save over it.
inline constexpr std::u16string_view kPasswordBackupName = u"quiren.pas.bak";

struct PasswordEntries {
  std::vector<block::SecretText> passwords;
  std::vector<std::u16string> descriptions;  // parallel to passwords
};

enum class PasswordFileSource {
  absent,      // no file: an empty list
  whole,       // every line read as this program writes it; line ends,
               // blanks around a field and blank lines aside
  damaged,     // something was skipped, re-paired, or would not be written
               // back the same: a save would lose it
  not_plain,   // a hidden or system quiren.pas (or a folder): read as
               // absent, and never replaced
  unreadable,  // there, but it could not be read
  locked,      // sealed, and it cannot be unprotected here (sealed for another
               // user or on another computer, or damaged): read as nothing,
               // and never written over
};

enum class PasswordFileForm {
  plain,
  sealed,  // for the Windows user ("パスワードをこのユーザーだけが読める形で保存する")
};

struct LoadedPasswordFile {
  PasswordEntries entries;                   // every well-formed pair read
  std::optional<std::int32_t> stored_count;  // the count line, when it is one
  PasswordFileSource source = PasswordFileSource::absent;
  PasswordFileForm form = PasswordFileForm::plain;
  block::SecretBytes original;  // a damaged file's bytes as they are on disk, to keep before a save
};

// The directory followed by the file name; no doubled "\" at a drive's root.
std::u16string password_file_path(std::u16string_view program_directory);
std::u16string password_backup_path(std::u16string_view program_directory);

// Pairs the well-formed field lines after the count line in order; never
// trusts the count line for anything but `stored_count`. The source is
// `damaged` when a line is not a quoted field, a field is left without its
// partner, the count line is not the number of pairs read, or a field's text
// would not be written back as the same bytes; else `whole`.
LoadedPasswordFile parse_password_file(std::string_view bytes, Desktop& desktop);
// The file's bytes for `entries`; the count is the number of entries held.
block::SecretBytes format_password_file(const PasswordEntries& entries, Desktop& desktop);

LoadedPasswordFile load_password_file(Desktop& desktop);

// The form the settings ask the file to be written in.
PasswordFileForm chosen_password_file_form(Desktop& desktop);

enum class SaveResult {
  saved,
  not_sealed,  // the system refused to seal it: nothing written
  failed,      // it could not be replaced: the old file is as it was
};
// Replaces the whole file atomically, in `form`.
SaveResult save_password_file(const PasswordEntries& entries, Desktop& desktop, PasswordFileForm form);

// The file written again in `form`, its plain bytes exactly as they were
// (a damaged file stays as damaged as it was, nothing of it lost); nothing
// is written when it is in that form already, or absent.
ListRewrite rewrite_password_file(Desktop& desktop, PasswordFileForm form);

// What the settings dialog calls when its box changes.
class PasswordFileRewriter final : public ListFileProtection {
 public:
  explicit PasswordFileRewriter(Desktop& desktop) : desktop_(desktop) {}
  ListRewrite rewrite_password_list(bool protect) override {
    return rewrite_password_file(desktop_, protect ? PasswordFileForm::sealed : PasswordFileForm::plain);
  }

 private:
  Desktop& desktop_;
};

enum class BackupResult {
  kept,     // the original is in quiren.pas.bak: written now, or there already
  taken,    // quiren.pas.bak holds something else, which is kept as it is
  failed,   // it could not be written
};
// Keeps a damaged file's original bytes beside it as quiren.pas.bak, written
// atomically; an existing quiren.pas.bak is never replaced.
BackupResult keep_original(std::string_view original, Desktop& desktop);

}  // namespace quiren
