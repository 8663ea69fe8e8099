#include "block/keys/recipient_wrap.h"

#include <algorithm>

#include "block/keys/keys_layout.h"
#include "block/secret.h"

namespace quiren::block {

std::optional<SecretKey> slot_wrap_key(CryptoProvider& crypto, const SecretKey& shared_ephemeral,
                                       const SecretKey& shared_sender, std::span<const std::uint8_t> ephemeral,
                                       std::span<const std::uint8_t> sender, std::span<const std::uint8_t> recipient) {
  SecretBytes input;
  input.resize(2 * kKeySize);
  auto* bytes = reinterpret_cast<std::uint8_t*>(input.data());
  std::copy(shared_ephemeral.bytes().begin(), shared_ephemeral.bytes().end(), bytes);
  std::copy(shared_sender.bytes().begin(), shared_sender.bytes().end(), bytes + kKeySize);
  std::vector<std::uint8_t> salt(ephemeral.begin(), ephemeral.end());
  salt.insert(salt.end(), sender.begin(), sender.end());
  salt.insert(salt.end(), recipient.begin(), recipient.end());
  const auto* info = reinterpret_cast<const std::uint8_t*>(kWrapInfo.data());
  SecretKey wrap;
  if (!crypto.hkdf_sha256(std::span<const std::uint8_t>(bytes, input.size()), salt,
                          std::span<const std::uint8_t>(info, kWrapInfo.size()), wrap.writable_bytes())) {
    return std::nullopt;
  }
  return wrap;
}

std::optional<std::vector<std::uint8_t>> slot_associated_data(CryptoProvider& crypto,
                                                              std::span<const std::uint8_t> header,
                                                              std::span<const std::uint8_t> sealed_text) {
  const std::optional<Sha256Digest> digest = crypto.sha256(sealed_text);
  if (!digest) return std::nullopt;
  std::vector<std::uint8_t> data(header.begin(), header.end());
  data.insert(data.end(), digest->begin(), digest->end());
  return data;
}

}  // namespace quiren::block
