// The one form of a password a strong block's key is derived from: its
// UTF-8 in Unicode normalisation form C. The same characters arrive
// precomposed from one system and decomposed from another (macOS, file
// names), and must give the same key everywhere. The platform normalises:
// NormalizeString on Windows, utf8proc elsewhere; the web reader does the
// same with String.prototype.normalize("NFC"). Compatible blocks take the
// code page's bytes as typed and never come here.
#pragma once

#include <optional>
#include <string_view>

#include "block/secret.h"

namespace quiren::block {

// `utf8` in NFC; nullopt when it is not valid UTF-8 (or the platform could
// not normalise it), and the password is then taken as it is.
std::optional<SecretBytes> nfc_utf8(std::string_view utf8);

// The password a strong block is sealed under: the NFC form, or the
// password as typed when it has none.
SecretBytes strong_key_password(std::string_view utf8);

}  // namespace quiren::block
