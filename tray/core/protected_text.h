// A secret sealed for the current Windows user (Desktop::protect_for_user)
// where only text can be kept, a registry string or a text file: the sealed
// bytes in base64 (block/base64.h), ASCII on one line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "block/secret.h"
#include "tray/core/desktop.h"

namespace quiren {

// nullopt when the system refused to seal it.
std::optional<std::string> protected_text(Desktop& desktop, std::string_view plain);

// The secret back; nullopt when `text` is not base64 as protected_text
// writes it, or the system cannot unprotect it here (sealed for another
// user or on another computer, or damaged).
std::optional<block::SecretBytes> unprotected_text(Desktop& desktop, std::string_view text);

}  // namespace quiren
