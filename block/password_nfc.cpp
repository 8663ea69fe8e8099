#include "block/password_nfc.h"

namespace quiren::block {

SecretBytes strong_key_password(std::string_view utf8) {
  std::optional<SecretBytes> nfc = nfc_utf8(utf8);
  if (nfc) return std::move(*nfc);
  return SecretBytes(utf8);
}

}  // namespace quiren::block
