// The tool's two commands as plain functions over bytes, so they can be
// tested without a terminal or processes. Standard input and output are
// UTF-8; the library sees the code page's bytes. What they read is the
// caller's to keep as a secret; what they write is one (SecretBytes).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/decrypt_run.h"
#include "tools/quiren/key_file_input.h"
#include "tools/quiren/password_input.h"

namespace quiren::block {
class CipherLibrary;
class CryptoProvider;
enum class SealStatus;
}

namespace quiren::tool {

class CodePage;

inline constexpr int kExitDone = 0;            // every block opened
inline constexpr int kExitWrongPassword = 1;   // no block opened: wrong for every one
inline constexpr int kExitBadInput = 2;        // bad input or usage
inline constexpr int kExitSomeNotOpened = 3;   // some blocks opened, some did not

struct CommandResult {
  int exit_code = kExitDone;
  SecretBytes output;   // for standard output: a decrypted text, or a block
  std::string message;  // one line for standard error, empty when none
  std::string detail = {};  // a second line under it: where a damaged block is damaged
  // Lines for standard error before those, one per block that needs one: a
  // compatible block read or written, a block that did not open.
  std::vector<std::string> notes = {};
};

// Called at most once, when the password is needed.
using PasswordSource = std::function<PasswordRead()>;

// What the tool encrypts and decrypts with: the compatible cipher and the
// platform's cryptography for strong blocks.
struct Ciphers {
  block::CipherLibrary& compatible;
  std::shared_ptr<block::CryptoProvider> crypto;
};

enum class BlockFormat {
  strong,      // AES-256-GCM under a password-derived key; the text is the UTF-8 input itself
  compatible,  // the earlier version's block, in the code page
};

// UTF-8 input as the characters it spells, so that the blanks a mail editor
// put into a block (U+00A0, U+3000) are seen as such; other input is widened
// byte for byte. Blocks are ASCII either way.
std::u16string received_text(std::string_view input);

// A damaged block (exit 2, `message`), and where it is damaged when that
// can be told: lines and characters counted in the input as it came.
CommandResult damaged_block(std::u16string_view received, std::size_t block_index, std::string_view message);

// Why nothing was written, in words.
std::string_view seal_problem(block::SealStatus status);

// What every encryption refuses before anything is asked: input that is
// not UTF-8 (naming the first bad byte) or holds a NUL. nullopt when a
// block may carry it.
std::optional<CommandResult> refused_input(std::string_view input);

// The armoured block for `input`, as the tray program writes it (CR LF
// inside, nothing after the end marker); a compatible block byte for byte
// the same. The text is checked before the password is asked.
CommandResult encrypt_command(std::string_view input, int width, BlockFormat format,
                              const PasswordSource& password, CodePage& code_page, Ciphers ciphers);

// Whether a decrypt run may spend more than block::kRoundBudget rounds of
// key derivation.
enum class RoundLimit { budget, none };

// The plain texts of every block in `input`, of every kind, joined as the
// viewer joins them. Line breaks are made CR LF and quote prefixes removed
// first. The password is asked only once the first block proved readable,
// only when the text holds a compatible or strong block, and not at all
// when the strong blocks ask for more rounds than the budget allows (exit
// 2). A run that would pass the budget later (a password not in NFC tried
// as typed on the first strong block) stops before that derivation, with
// the same message and nothing written. A block of a later version after
// readable ones ends the output there (exit 2, the earlier texts kept); a
// damaged block gives no output (exit 2), and says where it is damaged when
// it can. Recipient blocks open with the secret key from `key` (--key),
// read only once the text proved to need it (a problem reading it: exit 2);
// without one each needs a key. Exit 0 when every block opened, 1 when none
// did, 3 when some did not; a note names each that did not, and each
// recipient block's sender and time written. With CompatibleBlocks::refuse
// every readable compatible block is refused unread, with a note each and
// no text, and the exit is 2; the other blocks' texts are written as ever,
// as the texts before a block of a later version are.
CommandResult decrypt_command(std::string_view input, const PasswordSource& password, CodePage& code_page,
                              Ciphers ciphers, RoundLimit limit = RoundLimit::budget, const KeySource& key = {},
                              block::CompatibleBlocks compatible = block::CompatibleBlocks::read);

}  // namespace quiren::tool
