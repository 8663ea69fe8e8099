#include "block/keys/secret_key_text.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "block/base64.h"
#include "block/keys/keys_layout.h"
#include "block/secure_wipe.h"

namespace quiren::block {

SecretBytes secret_key_text(const SecretKey& secret) {
  SecretBytes line(kSecretKeyLabel);
  line.append(SecretBytes(base64_armour(secret.bytes())).view());
  return line;
}

std::optional<SecretKey> read_secret_key_text(std::string_view text) {
  for (const std::string_view line_break : {std::string_view("\r\n"), std::string_view("\n")}) {
    if (text.ends_with(line_break)) {
      text.remove_suffix(line_break.size());
      break;
    }
  }
  if (!text.starts_with(kSecretKeyLabel)) return std::nullopt;
  std::optional<std::vector<std::uint8_t>> bytes = base64_bytes(text.substr(kSecretKeyLabel.size()));
  if (!bytes) return std::nullopt;
  std::optional<SecretKey> key;
  if (bytes->size() == kKeySize) {
    key.emplace();
    std::copy(bytes->begin(), bytes->end(), key->writable_bytes().begin());
  }
  wipe(*bytes);
  return key;
}

}  // namespace quiren::block
