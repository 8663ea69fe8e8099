// The compatible cipher as block readers and writers see it: quiren.dll
// bound at run time in the tray program, the cipher linked in by the tool.
// Bytes in the ANSI code page in, bytes out (up to the result's first NUL).
// nullopt when the library or one of its exports could not be bound.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "block/secret.h"

namespace quiren::block {

class CipherLibrary {
 public:
  virtual ~CipherLibrary() = default;
  virtual std::optional<std::string> encrypt(std::string_view text, std::string_view password) = 0;
  // The decrypted text is a secret from the start.
  virtual std::optional<SecretBytes> decrypt(std::string_view body, std::string_view password,
                                             std::string_view mode) = 0;
};

}  // namespace quiren::block
