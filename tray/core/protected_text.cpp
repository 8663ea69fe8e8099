#include "tray/core/protected_text.h"

#include <cstdint>
#include <span>
#include <vector>

#include "block/base64.h"

namespace quiren {

std::optional<std::string> protected_text(Desktop& desktop, std::string_view plain) {
  const std::optional<std::string> sealed = desktop.protect_for_user(plain);
  if (!sealed) return std::nullopt;
  return block::base64_armour(
      std::span(reinterpret_cast<const std::uint8_t*>(sealed->data()), sealed->size()));
}

std::optional<block::SecretBytes> unprotected_text(Desktop& desktop, std::string_view text) {
  const std::optional<std::vector<std::uint8_t>> sealed = block::base64_bytes(text);
  if (!sealed || sealed->empty()) return std::nullopt;
  return desktop.unprotect_for_user(
      std::string_view(reinterpret_cast<const char*>(sealed->data()), sealed->size()));
}

}  // namespace quiren
