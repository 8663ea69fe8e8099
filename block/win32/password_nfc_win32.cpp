// NFC by the system's NormalizeString (normaliz.dll; kernel32 on later
// systems forwards to the same).
#include <windows.h>

#include <climits>

#include "block/password_nfc.h"
#include "block/utf8.h"

namespace quiren::block {

std::optional<SecretBytes> nfc_utf8(std::string_view utf8) {
  if (utf8.empty()) return SecretBytes();
  std::optional<std::u16string> wide = utf16_from_utf8(utf8);
  if (!wide) return std::nullopt;
  const SecretText typed(std::move(*wide));
  if (typed.size() > static_cast<std::size_t>(INT_MAX / 4)) return std::nullopt;
  const auto* source = reinterpret_cast<LPCWSTR>(typed.data());
  const int source_length = static_cast<int>(typed.size());

  // The first call estimates; a composition can still need more, which the
  // system says with a negative estimate. A few rounds settle it.
  int room = NormalizeString(NormalizationC, source, source_length, nullptr, 0);
  SecretText normal;
  for (int round = 0; round < 4 && room > 0; ++round) {
    normal.resize(static_cast<std::size_t>(room));
    const int written =
        NormalizeString(NormalizationC, source, source_length, reinterpret_cast<LPWSTR>(normal.data()), room);
    if (written > 0) {
      normal.resize(static_cast<std::size_t>(written));
      return SecretBytes(utf8_from_utf16(normal.view()));
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    room = -written;
  }
  return std::nullopt;
}

}  // namespace quiren::block
