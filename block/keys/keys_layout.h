// The blocks of keys, byte by byte (docs/format.md, sections 4 to 7). Other
// programs read what this one writes: nothing here changes under version 1.
//
// Key block (mode letter "K"): someone's public key.
//   0      1   version: 1
//   1      1   key type: 1 = X25519
//   2      32  the public key
//   34     1   name length L, 0..64
//   35     L   the holder's name, UTF-8 in NFC
//   35+L   4   the first 4 bytes of SHA-256 over bytes 0..34+L (catches
//              damage on the way; no security)
//
// Recipient block (mode letter "D"): a text for one or more keys.
//   0      1   version: 1
//   1      1   suite: 1 = X25519, HKDF-SHA256, AES-256-GCM
//   2      1   recipient count n, 1..64
//   3      1   reserved: 0
//   4      8   written at: seconds since 1970-01-01 UTC, big-endian
//   12     32  the sender's public key S
//   44     32  a one-off public key E
//   76     48n the slots: the text key sealed for each recipient
//   76+48n 12  the text nonce
//   88+48n m   AES-256-GCM ciphertext of the text in UTF-8
//   ...    16  its tag
// H is bytes 0..75, P everything after the slots. The text is sealed under
// a random text key with associated data H. Each recipient R's slot is the
// text key sealed under wrap = HKDF-SHA256(X25519(e, R) ‖ X25519(s, R),
// salt E ‖ S ‖ R, info kWrapInfo), nonce 12 zero bytes, associated data
// H ‖ SHA-256(P).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "block/strong/crypto_provider.h"

namespace quiren::block {

// Key block.
inline constexpr std::uint8_t kKeyBlockVersion = 1;
inline constexpr std::uint8_t kKeyTypeX25519 = 1;
inline constexpr std::size_t kKeyTypeOffset = 1;
inline constexpr std::size_t kKeyPublicOffset = 2;
inline constexpr std::size_t kKeyNameLengthOffset = kKeyPublicOffset + kX25519KeySize;  // 34
inline constexpr std::size_t kKeyNameOffset = kKeyNameLengthOffset + 1;
inline constexpr std::size_t kLongestKeyName = 64;  // bytes of UTF-8
inline constexpr std::size_t kKeyChecksumSize = 4;
// The envelope with the empty name, the shortest there is.
inline constexpr std::size_t kShortestKeyEnvelope = kKeyNameOffset + kKeyChecksumSize;  // 39

// Safety digits: SHA-256 of this label and the public key, six groups of
// five digits.
inline constexpr std::string_view kDigitsLabel = "mu-quiren key digits v1";
inline constexpr std::size_t kDigitGroups = 6;

// Recipient block.
inline constexpr std::uint8_t kRecipientVersion = 1;
inline constexpr std::uint8_t kSuiteX25519HkdfSha256Aes256Gcm = 1;
inline constexpr std::size_t kSuiteOffset = 1;
inline constexpr std::size_t kCountOffset = 2;
inline constexpr std::size_t kReservedOffset = 3;
inline constexpr std::size_t kWrittenAtOffset = 4;
inline constexpr std::size_t kSenderOffset = 12;
inline constexpr std::size_t kEphemeralOffset = kSenderOffset + kX25519KeySize;             // 44
inline constexpr std::size_t kRecipientHeaderSize = kEphemeralOffset + kX25519KeySize;      // 76
inline constexpr std::size_t kSlotSize = kKeySize + kTagSize;                               // 48
inline constexpr std::size_t kMostRecipients = 64;
// After the slots: the nonce, the ciphertext (perhaps empty) and the tag.
inline constexpr std::size_t kShortestSealedText = kNonceSize + kTagSize;  // 28
inline constexpr std::string_view kWrapInfo = "mu-quiren recipient v1";

// Secret key text: this label, then the 32-byte X25519 secret key in base64
// without padding, on one line.
inline constexpr std::string_view kSecretKeyLabel = "QUIREN-SECRET-KEY-1 ";

}  // namespace quiren::block
