#include "tray/core/win32/user_protection.h"

#include <windows.h>
#include <wincrypt.h>

#include <limits>

#include "block/secure_wipe.h"
#include "tray/win32kit/owned_handle.h"

namespace quiren::win32 {
namespace {

// The calls take their inputs as non-const blobs but only read them.
DATA_BLOB blob_of(std::string_view bytes) {
  return {static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

bool fits(std::string_view bytes) { return bytes.size() <= std::numeric_limits<DWORD>::max(); }

}  // namespace

std::optional<std::string> protect_for_user(std::string_view plain, std::string_view entropy) {
  if (!fits(plain) || !fits(entropy)) return std::nullopt;
  DATA_BLOB in = blob_of(plain);
  DATA_BLOB salt = blob_of(entropy);
  DATA_BLOB out{};
  if (!CryptProtectData(&in, L"mu-quiren", &salt, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
    return std::nullopt;
  }
  const ScopedLocal owned(out.pbData);
  return std::string(reinterpret_cast<const char*>(out.pbData), out.cbData);
}

std::optional<block::SecretBytes> unprotect_for_user(std::string_view sealed, std::string_view entropy) {
  if (!fits(sealed) || !fits(entropy)) return std::nullopt;
  DATA_BLOB in = blob_of(sealed);
  DATA_BLOB salt = blob_of(entropy);
  DATA_BLOB out{};
  if (!CryptUnprotectData(&in, nullptr, &salt, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
    return std::nullopt;
  }
  const ScopedLocal owned(out.pbData);
  block::SecretBytes plain(std::string_view(reinterpret_cast<const char*>(out.pbData), out.cbData));
  // The system's copy goes back wiped.
  block::wipe(out.pbData, out.cbData);
  return plain;
}

}  // namespace quiren::win32
