#include "block/keys/key_block.h"

#include <algorithm>

#include "block/armoured_block.h"
#include "block/ascii.h"
#include "block/base64.h"
#include "block/block_rules.h"
#include "block/keys/keys_layout.h"

namespace quiren::block {

KeyEnvelopeWrite write_key_envelope(CryptoProvider& crypto, const X25519PublicKey& public_key,
                                    std::string_view name_utf8) {
  KeyEnvelopeWrite written;
  const KeyName name = key_name_to_write(name_utf8);
  if (name.problem != KeyNameProblem::none) {
    written.problem = name.problem;
    return written;
  }
  std::vector<std::uint8_t> envelope{kKeyBlockVersion, kKeyTypeX25519};
  envelope.insert(envelope.end(), public_key.begin(), public_key.end());
  envelope.push_back(static_cast<std::uint8_t>(name.utf8.size()));
  envelope.insert(envelope.end(), name.utf8.begin(), name.utf8.end());
  const std::optional<Sha256Digest> digest = crypto.sha256(envelope);
  if (!digest) {
    written.hash_failed = true;
    return written;
  }
  envelope.insert(envelope.end(), digest->begin(), digest->begin() + kKeyChecksumSize);
  written.envelope = std::move(envelope);
  return written;
}

std::u16string frame_key_envelope(std::span<const std::uint8_t> envelope, int width) {
  return frame_block(kKeyModeLetter, widen_bytes(base64_armour(envelope)), width);
}

std::optional<Outcome> check_key_envelope(std::span<const std::uint8_t> envelope) {
  if (envelope.empty()) return Outcome::damaged;
  // A later version may lay its bytes out otherwise: its length says nothing.
  if (envelope[0] != kKeyBlockVersion) return Outcome::later_format;
  if (envelope.size() > kKeyTypeOffset && envelope[kKeyTypeOffset] != kKeyTypeX25519) return Outcome::later_format;
  if (envelope.size() < kShortestKeyEnvelope) return Outcome::damaged;
  if (envelope.size() != kShortestKeyEnvelope + envelope[kKeyNameLengthOffset]) return Outcome::damaged;
  return std::nullopt;
}

KeyBlockRead read_key_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope) {
  if (const std::optional<Outcome> problem = check_key_envelope(envelope)) return {*problem, {}};
  const std::span<const std::uint8_t> body = envelope.first(envelope.size() - kKeyChecksumSize);
  const std::optional<Sha256Digest> digest = crypto.sha256(body);
  if (!digest) return {Outcome::failed, {}};
  if (!std::equal(digest->begin(), digest->begin() + kKeyChecksumSize, envelope.end() - kKeyChecksumSize)) {
    return {Outcome::damaged, {}};
  }
  const std::span<const std::uint8_t> name = body.subspan(kKeyNameOffset);
  const std::string name_utf8(name.begin(), name.end());
  if (!is_written_key_name(name_utf8)) return {Outcome::refused_settings, {}};
  KeyBlockRead read{Outcome::opened, {}};
  std::copy_n(body.begin() + kKeyPublicOffset, kX25519KeySize, read.content.public_key.begin());
  read.content.name = name_utf8;
  return read;
}

}  // namespace quiren::block
