// The cipher linked in (quiren_cipher_core) behind the block library's
// cipher interface, so a program or test can use the real cipher without
// loading quiren.dll. Results end at their first NUL, as they do when they
// come through the library's C interface.
#pragma once

#include "block/cipher_library.h"

namespace quiren::tool {

class LinkedCipher : public block::CipherLibrary {
 public:
  std::optional<std::string> encrypt(std::string_view text, std::string_view password) override;
  std::optional<block::SecretBytes> decrypt(std::string_view body, std::string_view password,
                                            std::string_view mode) override;
};

}  // namespace quiren::tool
