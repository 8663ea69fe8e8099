#include "block/keys/recipient_seal.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "block/keys/keys_layout.h"
#include "block/keys/recipient_wrap.h"
#include "block/strong/random_index.h"
#include "block/utf8.h"

namespace quiren::block {

namespace {

RecipientSeal failure(SealStatus status) { return {status, {}}; }

bool all_zero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::span<const std::uint8_t, kNonceSize> slot_nonce() { return std::span<const std::uint8_t, kNonceSize>(kSlotNonce); }

// The seconds since 1970 the clock says; 0 before then.
std::uint64_t now() {
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  return seconds > 0 ? static_cast<std::uint64_t>(seconds) : 0;
}

// One recipient's slot: the text key sealed under its wrap key.
SealStatus seal_slot(CryptoProvider& crypto, const RecipientSealInputs& inputs, const SecretKey& sender_secret,
                     std::span<const std::uint8_t> ephemeral, std::span<const std::uint8_t> sender,
                     const X25519PublicKey& recipient, std::span<const std::uint8_t> associated_data,
                     std::span<std::uint8_t> slot) {
  const X25519Agreement with_ephemeral = crypto.x25519_agree(inputs.ephemeral_secret, recipient);
  const X25519Agreement with_sender = crypto.x25519_agree(sender_secret, recipient);
  for (const X25519Agreement* agreement : {&with_ephemeral, &with_sender}) {
    if (agreement->status == AgreementStatus::all_zero) return SealStatus::recipient_key_refused;
    if (agreement->status != AgreementStatus::agreed) return SealStatus::crypto_failed;
  }
  const std::optional<SecretKey> wrap =
      slot_wrap_key(crypto, with_ephemeral.shared, with_sender.shared, ephemeral, sender, recipient);
  if (!wrap || !crypto.seal(*wrap, slot_nonce(), associated_data, inputs.text_key.bytes(), slot)) {
    return SealStatus::crypto_failed;
  }
  return SealStatus::sealed;
}

}  // namespace

RecipientSeal seal_recipient_envelope_with(CryptoProvider& crypto, std::string_view text_utf8,
                                           const SecretKey& sender_secret,
                                           std::span<const X25519PublicKey> slot_order,
                                           const RecipientSealInputs& inputs) {
  const std::size_t count = slot_order.size();
  if (count < 1 || count > kMostRecipients) return failure(SealStatus::recipient_count);
  if (text_utf8.size() > kMaxTextBytes) return failure(SealStatus::text_too_long);
  if (!is_valid_utf8(text_utf8)) return failure(SealStatus::text_not_utf8);
  const std::optional<X25519PublicKey> sender = crypto.x25519_public_key(sender_secret);
  const std::optional<X25519PublicKey> ephemeral = crypto.x25519_public_key(inputs.ephemeral_secret);
  if (!sender || !ephemeral) return failure(SealStatus::crypto_failed);

  const std::size_t slots_end = kRecipientHeaderSize + count * kSlotSize;
  std::vector<std::uint8_t> envelope(slots_end + kShortestSealedText + text_utf8.size(), 0);
  const std::span<std::uint8_t> all(envelope);
  const std::span<std::uint8_t> header = all.first(kRecipientHeaderSize);
  header[0] = kRecipientVersion;
  header[kSuiteOffset] = kSuiteX25519HkdfSha256Aes256Gcm;
  header[kCountOffset] = static_cast<std::uint8_t>(count);
  header[kReservedOffset] = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    header[kWrittenAtOffset + i] = static_cast<std::uint8_t>(inputs.written_at >> (56 - 8 * i));
  }
  std::copy(sender->begin(), sender->end(), header.begin() + kSenderOffset);
  std::copy(ephemeral->begin(), ephemeral->end(), header.begin() + kEphemeralOffset);

  // The text first: every slot's associated data holds its digest.
  const std::span<std::uint8_t> sealed_text = all.subspan(slots_end);
  std::copy(inputs.nonce.begin(), inputs.nonce.end(), sealed_text.begin());
  const std::span<const std::uint8_t> text(reinterpret_cast<const std::uint8_t*>(text_utf8.data()), text_utf8.size());
  if (!crypto.seal(inputs.text_key, inputs.nonce, header, text, sealed_text.subspan(kNonceSize))) {
    return failure(SealStatus::crypto_failed);
  }
  const std::optional<std::vector<std::uint8_t>> associated_data = slot_associated_data(crypto, header, sealed_text);
  if (!associated_data) return failure(SealStatus::crypto_failed);

  for (std::size_t i = 0; i < count; ++i) {
    const SealStatus slot = seal_slot(crypto, inputs, sender_secret, *ephemeral, *sender, slot_order[i],
                                      *associated_data, all.subspan(kRecipientHeaderSize + i * kSlotSize, kSlotSize));
    if (slot != SealStatus::sealed) return failure(slot);
  }
  return {SealStatus::sealed, std::move(envelope)};
}

bool shuffle_slot_order(std::span<X25519PublicKey> order, CryptoProvider& random) {
  for (std::size_t i = order.size(); i > 1; --i) {
    const std::optional<std::size_t> j = random_index(i, random);
    if (!j) return false;
    std::swap(order[i - 1], order[*j]);
  }
  return true;
}

RecipientSeal seal_recipient_envelope(CryptoProvider& crypto, std::string_view text_utf8,
                                      const SecretKey& sender_secret, std::span<const X25519PublicKey> recipients) {
  const std::optional<X25519PublicKey> writer = crypto.x25519_public_key(sender_secret);
  if (!writer) return failure(SealStatus::crypto_failed);
  std::vector<X25519PublicKey> slot_order;
  for (const X25519PublicKey& key : recipients) {
    if (std::find(slot_order.begin(), slot_order.end(), key) == slot_order.end()) slot_order.push_back(key);
  }
  if (std::find(slot_order.begin(), slot_order.end(), *writer) == slot_order.end()) slot_order.push_back(*writer);
  if (slot_order.size() > kMostRecipients) return failure(SealStatus::recipient_count);

  if (!shuffle_slot_order(slot_order, crypto)) return failure(SealStatus::random_unavailable);

  std::optional<X25519KeyPair> ephemeral = crypto.generate_x25519_key_pair();
  if (!ephemeral) return failure(SealStatus::random_unavailable);
  RecipientSealInputs inputs{std::move(ephemeral->secret), SecretKey(), {}, now()};
  // A source that reports success but hands out zeros is broken too.
  if (!crypto.random_bytes(inputs.text_key.writable_bytes()) || !crypto.random_bytes(inputs.nonce) ||
      all_zero(inputs.text_key.bytes()) || all_zero(inputs.nonce)) {
    return failure(SealStatus::random_unavailable);
  }
  return seal_recipient_envelope_with(crypto, text_utf8, sender_secret, slot_order, inputs);
}

}  // namespace quiren::block
