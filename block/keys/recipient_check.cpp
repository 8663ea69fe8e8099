#include "block/keys/recipient_check.h"

#include "block/keys/keys_layout.h"

namespace quiren::block {

CheckedRecipientEnvelope check_recipient_envelope(std::span<const std::uint8_t> envelope) {
  CheckedRecipientEnvelope checked;
  const auto problem = [&checked](Outcome outcome) {
    checked.problem = outcome;
    return checked;
  };
  if (envelope.empty()) return problem(Outcome::damaged);
  if (envelope[0] != kRecipientVersion) return problem(Outcome::later_format);
  if (envelope.size() > kSuiteOffset && envelope[kSuiteOffset] != kSuiteX25519HkdfSha256Aes256Gcm) {
    return problem(Outcome::later_format);
  }
  if (envelope.size() < kRecipientHeaderSize) return problem(Outcome::damaged);
  const std::size_t count = envelope[kCountOffset];
  if (count < 1 || count > kMostRecipients || envelope[kReservedOffset] != 0) {
    return problem(Outcome::refused_settings);
  }
  const std::size_t slots_end = kRecipientHeaderSize + count * kSlotSize;
  if (envelope.size() < slots_end || envelope.size() - slots_end < kShortestSealedText) {
    return problem(Outcome::damaged);
  }
  checked.problem = std::nullopt;
  checked.count = count;
  for (std::size_t i = 0; i < 8; ++i) checked.written_at = checked.written_at << 8 | envelope[kWrittenAtOffset + i];
  checked.header = envelope.first(kRecipientHeaderSize);
  checked.sender = envelope.subspan(kSenderOffset, kX25519KeySize);
  checked.ephemeral = envelope.subspan(kEphemeralOffset, kX25519KeySize);
  checked.slots = envelope.subspan(kRecipientHeaderSize, count * kSlotSize);
  checked.sealed_text = envelope.subspan(slots_end);
  return checked;
}

}  // namespace quiren::block
