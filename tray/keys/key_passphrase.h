// The passphrase a key is sealed under, asked for (twice where `confirm`),
// as UTF-8: empty when the prompt was cancelled.
#pragma once

#include <string_view>

#include "block/secret.h"
#include "tray/core/desktop.h"

namespace quiren::keys {

block::SecretBytes ask_key_passphrase(Desktop& desktop, std::u16string_view prompt, bool confirm,
                                      std::u16string_view title = kAppTitle);

}  // namespace quiren::keys
