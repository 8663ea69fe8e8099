// Every text the quiren tool prints on standard error and its prompts. The
// piece shown for a block whose password check fails is the block
// library's, so the tool and the tray program show the same.
#pragma once

#include <string_view>

namespace quiren::tool::texts {

inline constexpr std::string_view kNoBlock = "no armoured block found in standard input";
inline constexpr std::string_view kVersionCannotRead =
    "this version cannot read the block (its mode letter is neither A nor B)";
inline constexpr std::string_view kUnreadable = "the block is damaged and cannot be read";
inline constexpr std::string_view kLibraryFailed = "the cipher failed";
inline constexpr std::string_view kWrongPassword = "wrong password";
inline constexpr std::string_view kEmptyPassword =
    "an empty password is refused: it would leave the text readable by anyone";
inline constexpr std::string_view kPasswordTooLong = "the password is longer than 30 characters";
inline constexpr std::string_view kPasswordsDiffer = "the two passwords differ";
inline constexpr std::string_view kPasswordLineTooLong = "the password is longer than 4096 bytes";
// Each followed by ": " and the file's name.
inline constexpr std::string_view kPasswordFileMissing = "the password file does not exist";
inline constexpr std::string_view kPasswordFileNotRegular =
    "the password file is not a regular file (folders, devices and pipes are refused)";
inline constexpr std::string_view kPasswordFileUnreadable = "cannot read the password file";
inline constexpr std::string_view kPasswordFileLineTooLong =
    "the password file's first line is longer than 4096 bytes";
inline constexpr std::string_view kInputHasNul = "standard input holds a NUL character, which cannot be encrypted";
inline constexpr std::string_view kPasswordHasNul = "the password holds a NUL character";
inline constexpr std::string_view kInputNotUtf8 = "standard input is not valid UTF-8";
inline constexpr std::string_view kPasswordNotUtf8 = "the password is not valid UTF-8";
inline constexpr std::string_view kOutsideArmourAlphabet = "character outside the armour alphabet";

inline constexpr std::string_view kPasswordPrompt = "Password: ";
inline constexpr std::string_view kPasswordAgainPrompt = "Password again: ";

}  // namespace quiren::tool::texts
