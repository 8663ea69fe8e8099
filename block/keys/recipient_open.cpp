#include "block/keys/recipient_open.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "block/keys/keys_layout.h"
#include "block/keys/recipient_check.h"
#include "block/keys/recipient_wrap.h"
#include "block/utf8.h"

namespace quiren::block {

namespace {

RecipientOpened outcome(Outcome o) { return {o, {}, {}}; }

std::span<const std::uint8_t, kX25519KeySize> key_at(std::span<const std::uint8_t> bytes) {
  return bytes.first<kX25519KeySize>();
}

}  // namespace

RecipientOpened open_recipient_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope,
                                        const SecretKey& secret) {
  const CheckedRecipientEnvelope parts = check_recipient_envelope(envelope);
  if (parts.problem) return outcome(*parts.problem);

  const X25519Agreement with_ephemeral = crypto.x25519_agree(secret, key_at(parts.ephemeral));
  const X25519Agreement with_sender = crypto.x25519_agree(secret, key_at(parts.sender));
  for (const X25519Agreement* agreement : {&with_ephemeral, &with_sender}) {
    if (agreement->status == AgreementStatus::all_zero) return outcome(Outcome::refused_settings);
    if (agreement->status != AgreementStatus::agreed) return outcome(Outcome::failed);
  }
  const std::optional<X25519PublicKey> own = crypto.x25519_public_key(secret);
  if (!own) return outcome(Outcome::failed);
  const std::optional<SecretKey> wrap =
      slot_wrap_key(crypto, with_ephemeral.shared, with_sender.shared, parts.ephemeral, parts.sender, *own);
  const std::optional<std::vector<std::uint8_t>> associated_data =
      slot_associated_data(crypto, parts.header, parts.sealed_text);
  if (!wrap || !associated_data) return outcome(Outcome::failed);

  SecretKey text_key;
  bool found = false;
  for (std::size_t i = 0; i < parts.count && !found; ++i) {
    const AeadStatus slot = crypto.open(*wrap, std::span<const std::uint8_t, kNonceSize>(kSlotNonce),
                                        *associated_data, parts.slots.subspan(i * kSlotSize, kSlotSize),
                                        text_key.writable_bytes());
    if (slot == AeadStatus::failed) return outcome(Outcome::failed);
    found = slot == AeadStatus::ok;
  }
  if (!found) return outcome(Outcome::not_for_this_key);

  // Decrypted straight into the result, so no other copy of the text is made.
  RecipientOpened opened;
  const std::span<const std::uint8_t> nonce = parts.sealed_text.first(kNonceSize);
  const std::span<const std::uint8_t> ciphertext_and_tag = parts.sealed_text.subspan(kNonceSize);
  opened.text.resize(ciphertext_and_tag.size() - kTagSize);
  const std::span<std::uint8_t> plaintext(reinterpret_cast<std::uint8_t*>(opened.text.data()), opened.text.size());
  const AeadStatus text = crypto.open(text_key, nonce.first<kNonceSize>(), parts.header, ciphertext_and_tag, plaintext);
  if (text == AeadStatus::tag_mismatch) {
    opened.outcome = Outcome::not_for_this_key;
  } else if (text != AeadStatus::ok) {
    opened.outcome = Outcome::failed;
  } else if (!is_valid_utf8(opened.text.view())) {
    opened.outcome = Outcome::damaged;
  } else {
    opened.outcome = Outcome::opened;
    std::copy(parts.sender.begin(), parts.sender.end(), opened.sender.public_key.begin());
    opened.sender.written_at = parts.written_at;
  }
  // An authentic text that is not UTF-8 is still plaintext.
  if (opened.outcome != Outcome::opened) opened.text.clear();
  return opened;
}

}  // namespace quiren::block
