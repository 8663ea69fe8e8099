// Every text the quiren tool prints on standard error and its prompts. The
// piece shown for a block whose password check fails is the block
// library's, so the tool and the tray program show the same.
#pragma once

#include <string_view>

#include "block/block_rules.h"
#include "block/composed_text.h"
#include "block/keys/key_file.h"
#include "block/keys/keys_layout.h"

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

// The command line on Windows, which comes in UTF-16: {position} (1 for
// the first argument after the program's name) and {argument} (U+FFFD in
// place of the lone half) filled in.
inline constexpr std::string_view kArgumentNotUnicode =
    "argument {position} holds half of a UTF-16 surrogate pair, which names no file or text: {argument}";

inline constexpr std::string_view kPasswordPrompt = "Password: ";
inline constexpr std::string_view kPasswordAgainPrompt = "Password again: ";

// Keys. Per recipient block, after "block N of M: " when decrypting;
// {digits} is the sender's safety digits, {time} when the sender's clock
// says it was written ("2026-12-11 09:30").
inline constexpr std::string_view kFromSender = "from {digits}, written {time} UTC";
inline constexpr std::string_view kNotForThisKey = "not addressed to this key, or changed";
inline constexpr std::string_view kNeedsKey = "a block for someone's key: give yours with --key FILE";
// A key block among the blocks decrypted: {name} and {digits} filled in.
inline constexpr std::string_view kKeyBlockNote = "a key block, holding no text: \"{name}\", {digits}";
// `key digits`, one line per key block: {name} (kNoName when empty) and {digits}.
inline constexpr std::string_view kKeyDigitsLine = "{name}: {digits}";
inline constexpr std::string_view kNoName = "(no name)";
inline constexpr std::string_view kNoKeyBlock = "no key block found in standard input";
inline constexpr std::string_view kKeyBlockDamaged = "the key block is damaged and cannot be read";
inline constexpr std::string_view kKeyBlockLater =
    "this version cannot read the key block: it was written by a later version; use the latest version";
inline constexpr std::string_view kKeyBlockRefused =
    "the key block's name is refused: too long, not UTF-8 in NFC, or holding a control character or a direction "
    "mark that could make it look like another";
// `key new` and `key show`, on standard error under the key block.
inline constexpr std::string_view kYourDigits = "your safety digits: {digits}";
inline constexpr std::string_view kKeyWritten = "your secret key is in {file}: keep it, and give no one the file";
inline constexpr std::string_view kKeyWrittenBare =
    "your secret key is in {file}, not sealed under a passphrase: keep it, and give no one the file";
inline constexpr std::string_view kKeyPassphrasePrompt = "Passphrase for the key: ";
inline constexpr std::string_view kKeyPassphraseAgainPrompt = "Passphrase for the key again: ";
inline constexpr std::string_view kKeyPassphrasesDiffer = "the two passphrases differ";
inline constexpr std::string_view kEmptyKeyPassphrase =
    "an empty passphrase is refused: use --no-passphrase to keep the key unsealed";
inline constexpr auto kKeyPassphraseTooLongText =
    block::compose("the passphrase is longer than ", block::kLongestStrongPassword, " characters");
inline constexpr std::string_view kKeyPassphraseTooLong = kKeyPassphraseTooLongText.view();
// Each followed by ": " and the file's name.
inline constexpr std::string_view kKeyFileExists = "the key file exists already, and is never overwritten";
inline constexpr std::string_view kKeyFileNotWritten = "cannot write the key file";
inline constexpr std::string_view kKeyFileMissing = "the key file does not exist";
inline constexpr std::string_view kKeyFileNotRegular =
    "the key file is not a regular file (folders, devices and pipes are refused)";
inline constexpr std::string_view kKeyFileUnreadable = "cannot read the key file";
inline constexpr auto kKeyFileTooLargeText =
    block::compose("the key file is larger than ", block::kLargestKeyFile >> 20, " MiB");
inline constexpr std::string_view kKeyFileTooLarge = kKeyFileTooLargeText.view();
inline constexpr std::string_view kKeyFileNoKey =
    "the key file holds no secret key (neither a QUIREN-SECRET-KEY-1 line nor a block sealing one)";
inline constexpr std::string_view kKeyFileWrongPassphrase =
    "wrong passphrase for the key file, or the file was changed";
inline constexpr std::string_view kKeyFileDamaged = "the key file's block is damaged and cannot be read";
inline constexpr std::string_view kKeyFileLater =
    "the key file's block was written by a later version; use the latest version";
inline constexpr std::string_view kKeyFileRefused = "the key file's block was made with settings this version refuses";
inline constexpr std::string_view kToFileNoKeyBlock = "the file holds no key block";
inline constexpr std::string_view kToFileManyKeyBlocks =
    "the file holds more than one key block: give each with a --to of its own";
// The key's name, given with --name or taken from the login name.
inline constexpr std::string_view kKeyNameNotUtf8 = "the name is not valid UTF-8";
inline constexpr auto kKeyNameTooLongText =
    block::compose("the name is longer than ", block::kLongestKeyName, " bytes of UTF-8");
inline constexpr std::string_view kKeyNameTooLong = kKeyNameTooLongText.view();
inline constexpr std::string_view kKeyNameForbidden =
    "the name holds a control character or a direction mark, which key blocks refuse";
inline constexpr auto kTooManyRecipientsText = block::compose(
    "a block is for at most ", block::kMostRecipients, " keys, the writer's included: nothing was encrypted");
inline constexpr std::string_view kTooManyRecipients = kTooManyRecipientsText.view();
inline constexpr std::string_view kRecipientKeyRefused =
    "a recipient's key is not one anyone could hold (a key of low order): nothing was encrypted";

}  // namespace quiren::tool::texts
