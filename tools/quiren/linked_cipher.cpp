#include "tools/quiren/linked_cipher.h"

#include <exception>

#include "block/block_rules.h"
#include "cipher/compression.h"
#include "cipher/pipeline.h"

namespace quiren::tool {

// What one block may carry is what the library expands whole.
static_assert(block::kLongestText == cipher::kMaxExpandedBytes);

namespace {

// Through the C interface only the text up to the first NUL comes back.
std::string up_to_nul(std::string bytes) {
  std::size_t nul = bytes.find('\0');
  if (nul != std::string::npos) bytes.resize(nul);
  return bytes;
}

std::string_view up_to_nul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

std::optional<std::string> LinkedCipher::encrypt(std::string_view text, std::string_view password) {
  try {
    return up_to_nul(cipher::encrypt(up_to_nul(text), up_to_nul(password)));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<block::SecretBytes> LinkedCipher::decrypt(std::string_view body, std::string_view password,
                                                        std::string_view mode) {
  try {
    return block::SecretBytes(up_to_nul(cipher::decrypt(up_to_nul(body), up_to_nul(password), up_to_nul(mode))));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace quiren::tool
