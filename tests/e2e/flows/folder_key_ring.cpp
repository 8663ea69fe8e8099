#include "tests/e2e/flows/folder_key_ring.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "block/armoured_block.h"
#include "block/keys/key_block.h"
#include "block/keys/secret_key_text.h"
#include "block/utf8.h"

namespace quiren::e2e {
namespace {

std::optional<std::string> file_bytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

}  // namespace

FolderKeyRing::FolderKeyRing(block::CryptoProvider& crypto) {
  wchar_t folder[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"QUIREN_E2E_KEY_RING", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::wstring base(folder, length);
  if (const std::optional<std::string> key_text = file_bytes(base + L"\\tray-key.txt")) {
    if (std::optional<block::SecretKey> secret = block::read_secret_key_text(*key_text)) {
      if (const std::optional<block::X25519PublicKey> public_key = crypto.x25519_public_key(*secret)) {
        mine_ = block::X25519KeyPair{std::move(*secret), *public_key};
      }
    }
  }
  for (const bool confirmed : {true, false}) {
    const std::optional<std::string> contacts =
        file_bytes(base + (confirmed ? L"\\contacts.txt" : L"\\contacts-unconfirmed.txt"));
    if (!contacts) continue;
    const std::u16string text = block::utf16_from_utf8(*contacts).value_or(u"");
    for (const block::BlockItem& item : block::read_blocks(text)) {
      if (item.problem || item.kind != block::BlockKind::key) continue;
      const block::KeyBlockRead read = block::read_key_envelope(crypto, item.envelope);
      if (read.outcome != block::Outcome::opened) continue;
      contacts_.push_back(
          {block::utf16_from_utf8(read.content.name).value_or(u""), read.content.public_key, confirmed});
    }
  }
}

std::optional<Contact> FolderKeyRing::contact_with(const block::X25519PublicKey& public_key) const {
  const auto found = std::find_if(contacts_.begin(), contacts_.end(),
                                  [&](const Contact& contact) { return contact.public_key == public_key; });
  if (found == contacts_.end()) return std::nullopt;
  return *found;
}

}  // namespace quiren::e2e
