// The tool's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "block/block_rules.h"

namespace quiren::tool {

enum class Command { none, help, encrypt, decrypt, passphrase, key_new, key_show, key_digits };

struct Options {
  Command command = Command::none;
  int width = block::kDefaultWrap;
  bool compatible = false;    // encrypt: the earlier version's block instead of a strong one
  bool no_limit = false;      // decrypt: spend any number of rounds of key derivation
  bool strong_only = false;   // decrypt: refuse compatible blocks unread
  bool kana = false;          // passphrase: seven hiragana words instead of six English ones
  unsigned code_page = 932;
  std::string password_file;  // empty: ask on the terminal
  // Keys.
  std::string key_file;                 // --key: your secret key (encrypt, decrypt, key show)
  std::string key_passphrase_file;      // empty: ask on the terminal when the key is sealed
  std::vector<std::string> to_files;    // encrypt: the recipients' key blocks, one file each
  std::optional<std::string> name;      // key new, key show: the key block's name (default: the login name)
  std::string out_file;                 // key new: where the secret key goes
  bool no_passphrase = false;           // key new: the secret key unsealed
  std::string problem;        // set when the command line is bad
};

// Parses the arguments after the program name.
Options parse_options(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace quiren::tool
