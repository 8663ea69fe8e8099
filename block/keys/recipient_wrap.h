// What sealing and opening a recipient block's slots share: the key one
// recipient's slot is sealed under, and the slot's associated data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "block/strong/crypto_provider.h"

namespace quiren::block {

// wrap = HKDF-SHA256 with input key material X25519(e, R) ‖ X25519(s, R)
// (the writer's side) or X25519(r, E) ‖ X25519(r, S) (a reader's: the same
// values), salt E ‖ S ‖ R, info kWrapInfo, 32 bytes. nullopt when the
// platform fails.
std::optional<SecretKey> slot_wrap_key(CryptoProvider& crypto, const SecretKey& shared_ephemeral,
                                       const SecretKey& shared_sender, std::span<const std::uint8_t> ephemeral,
                                       std::span<const std::uint8_t> sender, std::span<const std::uint8_t> recipient);

// H ‖ SHA-256(P): every slot's associated data, which binds the text to the
// slots. nullopt when the platform fails.
std::optional<std::vector<std::uint8_t>> slot_associated_data(CryptoProvider& crypto,
                                                              std::span<const std::uint8_t> header,
                                                              std::span<const std::uint8_t> sealed_text);

// The slots' nonce: 12 zero bytes, as every wrap key seals one slot only (E
// is new for every block).
inline constexpr std::uint8_t kSlotNonce[kNonceSize] = {};

}  // namespace quiren::block
