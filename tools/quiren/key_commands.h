// The tool's commands of keys, as plain functions over bytes like
// tool_commands.h: making a key pair, showing its key block and safety
// digits, reading the digits of key blocks as received, and encrypting a
// text to people's keys.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/keys/key_block.h"
#include "block/strong/crypto_provider.h"
#include "tools/quiren/key_file_input.h"
#include "tools/quiren/tool_commands.h"

namespace quiren::tool {

// The name a key block carries when --name is not given: the login name
// (USER or LOGNAME; USERNAME on Windows), or none when it is not one a key
// block takes.
std::string default_key_name();

// `key new`: a new key pair. The secret key goes to a new file at
// `out_path` (never over an existing one): sealed under the passphrase
// from `passphrase`, asked before the file is made, or bare when
// `passphrase` is empty. The key block on standard output; the safety
// digits and the file's name on standard error.
CommandResult key_new_command(const std::string& out_path, std::string_view name_utf8,
                              const PassphraseSource& passphrase, int width, block::CryptoProvider& crypto);

// `key show`: the key block of a secret key, and its safety digits.
CommandResult key_show_command(const block::SecretKey& secret, std::string_view name_utf8, int width,
                               block::CryptoProvider& crypto);

// The key blocks of a text as received: each one's key and name. A key
// block that does not read gives exit 2, saying why (and where it is
// damaged, when it is).
struct KeyBlocksFound {
  std::vector<block::KeyBlockContent> keys;
  std::optional<CommandResult> problem;
};
KeyBlocksFound key_blocks_in(std::string_view input, block::CryptoProvider& crypto);

// `key digits`: one line for each key block, its name and safety digits.
CommandResult key_digits_command(std::string_view input, block::CryptoProvider& crypto);

// `encrypt --key FILE --to KEYFILE…`: a recipient block from the holder of
// `own` to the key in each of `recipient_files` (their bytes as received,
// one key block each) and to `own`.
struct RecipientFile {
  std::string name;  // for messages
  std::string bytes;
};
CommandResult encrypt_to_keys_command(std::string_view input, int width, const block::SecretKey& own,
                                      const std::vector<RecipientFile>& recipient_files,
                                      block::CryptoProvider& crypto);

}  // namespace quiren::tool
