// The system's data protection for the current Windows user (DPAPI):
// CryptProtectData and CryptUnprotectData, never showing a prompt, with an
// entropy of the program's own, so that another program running as the user
// cannot unprotect what this one sealed simply by asking.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "block/secret.h"

namespace quiren::win32 {

// The program's entropy: a sealed text opens only with it. Changing it
// locks away everything sealed before.
inline constexpr std::string_view kProgramEntropy = "mu-quiren: protected for one Windows user, version 1";

// nullopt when the system refused. The entropy is a parameter for the
// end-to-end check that another one is refused; the program passes its own.
std::optional<std::string> protect_for_user(std::string_view plain, std::string_view entropy = kProgramEntropy);
// nullopt when it cannot be unprotected here: sealed for another user or on
// another computer, under another entropy, or damaged.
std::optional<block::SecretBytes> unprotect_for_user(std::string_view sealed,
                                                     std::string_view entropy = kProgramEntropy);

}  // namespace quiren::win32
