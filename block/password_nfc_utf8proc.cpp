// NFC by utf8proc. Its one-call utf8proc_map() leaves the decomposed code
// points in a buffer it frees unwiped; here they go through a buffer of our
// own that is wiped with the secret.
#include <utf8proc.h>

#include <cstdint>

#include "block/password_nfc.h"

namespace quiren::block {

std::optional<SecretBytes> nfc_utf8(std::string_view utf8) {
  if (utf8.empty()) return SecretBytes();
  const auto options = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE);
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
  const auto length = static_cast<utf8proc_ssize_t>(utf8.size());
  const utf8proc_ssize_t needed = utf8proc_decompose(bytes, length, nullptr, 0, options);
  if (needed < 0) return std::nullopt;  // not valid UTF-8
  Secret<utf8proc_int32_t> code_points;
  code_points.resize(static_cast<std::size_t>(needed));
  const utf8proc_ssize_t decomposed = utf8proc_decompose(bytes, length, code_points.data(), needed, options);
  if (decomposed < 0 || decomposed > needed) return std::nullopt;
  // Composes in place and writes the UTF-8 over the same buffer.
  const utf8proc_ssize_t written = utf8proc_reencode(code_points.data(), decomposed, options);
  if (written < 0) return std::nullopt;
  return SecretBytes(std::string_view(reinterpret_cast<const char*>(code_points.data()),
                                      static_cast<std::size_t>(written)));
}

}  // namespace quiren::block
