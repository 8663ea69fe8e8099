// The tool's secret key: read from the file --key names, as received (a
// byte order mark, CR LF, a sealed block quoted in a mail), its passphrase
// from --key-passphrase-file or the terminal when the key is sealed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "block/secret.h"
#include "block/strong/crypto_provider.h"
#include "tools/quiren/password_input.h"

namespace quiren::tool {

struct KeyRead {
  bool ok = false;
  std::optional<block::SecretKey> key;  // when ok
  std::string problem;                  // when !ok
};

// The secret key when it is needed; called at most once.
using KeySource = std::function<KeyRead()>;

// Asks for a sealed key's passphrase; called at most once, and only for a
// sealed key.
using PassphraseSource = std::function<PasswordRead()>;

// The key in a key file's bytes.
KeyRead key_from_file_text(std::string_view bytes, const PassphraseSource& passphrase, block::CryptoProvider& crypto);

// The key in the file at `path` (a regular file of at most block::kLargestKeyFile
// bytes); the file's name ends each problem.
KeyRead key_from_file(const std::string& path, const PassphraseSource& passphrase, block::CryptoProvider& crypto);

// The file's bytes, as a secret: !ok (and `problem`) for a missing file,
// one that is not a regular file or is larger than block::kLargestKeyFile.
struct FileBytes {
  bool ok = false;
  block::SecretBytes bytes;
  std::string problem;
};
FileBytes read_key_file(const std::string& path);

}  // namespace quiren::tool
