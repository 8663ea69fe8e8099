// X25519, HKDF-SHA256 and SHA-256 from OpenSSL's libcrypto, apart from
// the rest of the OpenSSL provider so that a Windows build linking
// libcrypto can take the same code (CNG's own X25519 and HKDF cannot be
// tested under Wine, which implements neither). Each call works on objects
// of its own, so calls may come from several threads at once.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "block/strong/crypto_provider.h"

namespace quiren::block::openssl {

std::optional<X25519KeyPair> generate_x25519_key_pair();

std::optional<X25519PublicKey> x25519_public_key(const SecretKey& secret);

X25519Agreement x25519_agree(const SecretKey& secret, std::span<const std::uint8_t, kX25519KeySize> peer_public);

bool hkdf_sha256(std::span<const std::uint8_t> input_key_material, std::span<const std::uint8_t> salt,
                 std::span<const std::uint8_t> info, std::span<std::uint8_t> out);

std::optional<Sha256Digest> sha256(std::span<const std::uint8_t> data);

}  // namespace quiren::block::openssl
