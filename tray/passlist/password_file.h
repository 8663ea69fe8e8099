// The password list file quiren.pas beside the program: a count line, then
// each entry as two quoted lines (password, description), CR LF after every
// line, text in the ANSI code page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tray/core/desktop.h"

namespace quiren {

inline constexpr std::u16string_view kPasswordFileName = u"quiren.pas";

struct PasswordEntries {
  std::vector<std::u16string> passlist;
  std::vector<std::u16string> infolist;  // parallel to passlist
};

enum class PasswordFileSource {
  absent,      // no file: an empty list
  whole,       // read
  not_plain,   // a hidden or system quiren.pas (or a folder): read as
               // absent, and never replaced
  unreadable,  // there, but it could not be read
};

struct LoadedPasswordFile {
  PasswordEntries entries;                   // every well-formed pair read
  std::optional<std::int32_t> stored_count;  // the count line, when it is one
  PasswordFileSource source = PasswordFileSource::absent;
};

// The directory followed by the file name; no doubled "\" at a drive's root.
std::u16string password_file_path(std::u16string_view program_directory);

// Reads every well-formed pair of `bytes`; never trusts the count line for
// anything but `stored_count`.
LoadedPasswordFile parse_password_file(std::string_view bytes, Desktop& desktop);
// The file's bytes for `entries`; the count is the number of entries held.
std::string format_password_file(const PasswordEntries& entries, Desktop& desktop);

LoadedPasswordFile load_password_file(Desktop& desktop);
// Replaces the whole file atomically; false leaves the old file as it was.
bool save_password_file(const PasswordEntries& entries, Desktop& desktop);

}  // namespace quiren
