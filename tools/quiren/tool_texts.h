// Every text the quiren tool prints on standard error and its prompts. The
// piece shown for a block whose password check fails is the block
// library's, so the tool and the tray program show the same.
#pragma once

#include <string_view>

#include "block/block_rules.h"
#include "block/composed_text.h"

namespace quiren::tool::texts {

inline constexpr std::string_view kNoBlock = "no armoured block found in standard input";
inline constexpr std::string_view kLaterFormat =
    "this version cannot read the block: it was written by a later version; use the latest version";
inline constexpr std::string_view kRefusedSettings =
    "the block was made with settings this version refuses (too few or too many rounds of key derivation, or an "
    "unknown key derivation or cipher): it is not decrypted";
// {rounds} is filled in.
inline constexpr auto kOverRoundBudgetText = block::compose(
    "the strong blocks ask for {rounds} rounds of key derivation together, more than ", block::kRoundBudget,
    " (about fifty blocks), which can take minutes; nothing was decrypted (--no-limit decrypts them anyway)");
inline constexpr std::string_view kOverRoundBudget = kOverRoundBudgetText.view();
inline constexpr std::string_view kDamaged = "the block is damaged and cannot be read";
// The line after kDamaged that says where the block is damaged, when
// that can be told. Lines and characters are counted in standard input;
// {line}, {column}, {character} and {code} (hex) are filled in.
inline constexpr std::string_view kDamageForeignCharacter =
    "line {line}, character {column}: \"{character}\" (U+{code}) is not a character blocks are written in";
inline constexpr std::string_view kDamageInvisibleCharacter =
    "line {line}, character {column}: an invisible character (U+{code}) is not a character blocks are written in";
inline constexpr std::string_view kDamageShortLine =
    "line {line} is shorter than the other lines of the block: characters are missing there";
inline constexpr std::string_view kDamageUnevenLength =
    "the block's length does not come out even: characters are missing or extra up to line {line}, its last";
inline constexpr std::string_view kLibraryFailed = "the cipher failed";
inline constexpr std::string_view kLibraryResultImplausible =
    "the cipher gave a result it never writes; no block was written";
inline constexpr std::string_view kLibcryptoNotStarted = "OpenSSL's libcrypto could not start";
inline constexpr std::string_view kCryptoFailed = "the system's cryptography failed: nothing was encrypted";
inline constexpr std::string_view kRandomUnavailable =
    "the system's random source failed: nothing was encrypted";
inline constexpr std::string_view kPassphraseRandomUnavailable =
    "the system's random source failed: no passphrase was made";
inline constexpr auto kTextTooLongText =
    block::compose("the text is longer than ", block::kLongestText >> 20, " MiB, more than a block can give back whole");
inline constexpr std::string_view kTextTooLong = kTextTooLongText.view();
inline constexpr std::string_view kNeedsSharedTable =
    "the block was compressed with a shared code table (DfFugoList.lst) that is not in the current folder; "
    "it decrypts only beside the same file as its writer's";
inline constexpr auto kOverLimitText = block::compose(
    "the decrypted texts would pass ", block::kLongestText >> 20, " MiB; the blocks from here on were not decrypted");
inline constexpr std::string_view kOverLimit = kOverLimitText.view();
// When no block opened, one line for them all; when any of them was
// strong, kStrongNotOpened.
inline constexpr std::string_view kWrongPassword = "wrong password";
// Per block, after "block N of M: " when decrypting: a compatible block's,
// and a strong block's, whose check fails alike for a wrong password and
// for a changed character.
inline constexpr std::string_view kBlockNotOpened = "wrong password or changed";
inline constexpr std::string_view kStrongNotOpened = "wrong password, or the block was changed on the way";
inline constexpr std::string_view kCompatibleNote = "compatible block: cannot detect changes";
// With --strong-only, for each compatible block.
inline constexpr std::string_view kCompatibleRefused =
    "compatible block refused: it cannot show whether it was changed, and --strong-only reads strong blocks only; "
    "not decrypted";
inline constexpr std::string_view kEmptyPassword =
    "an empty password is refused: it would leave the text readable by anyone";
// By the kind of block about to be written; characters are counted as the
// tray program counts them (UTF-16 code units: an emoji counts twice).
inline constexpr auto kPasswordTooLongText =
    block::compose("the password is longer than ", block::kLongestCompatiblePassword, " characters");
inline constexpr std::string_view kPasswordTooLong = kPasswordTooLongText.view();
inline constexpr auto kStrongPasswordTooLongText =
    block::compose("the password is longer than ", block::kLongestStrongPassword, " characters");
inline constexpr std::string_view kStrongPasswordTooLong = kStrongPasswordTooLongText.view();
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
