// A stand-in for the compatible cipher's decrypt call: under the right
// password a field "decrypts" to itself (so a test writes the deciphered
// bytes as the field); under any other password to noise. Records every
// call.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/cipher_library.h"

namespace quiren::testing {

class EchoCipher : public block::CipherLibrary {
 public:
  explicit EchoCipher(std::string password) : password_(std::move(password)) {}
  std::optional<std::string> encrypt(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<block::SecretBytes> decrypt(std::string_view body, std::string_view password,
                                            std::string_view mode) override {
    calls.push_back(std::string(body) + "/" + std::string(mode));
    if (missing) return std::nullopt;
    if (password != password_) return block::SecretBytes(std::string_view("?#noise"));
    return block::SecretBytes(body);
  }
  bool missing = false;
  std::vector<std::string> calls;

 private:
  std::string password_;
};

}  // namespace quiren::testing
