// The strong envelope, byte by byte:
//
//   0   1   format version: 1
//   1   1   key derivation: 1 = PBKDF2-HMAC-SHA256
//   2   1   cipher: 1 = AES-256-GCM
//   3   1   fill: how many zero bytes follow the tag (0..3), so that the
//           envelope length is a multiple of 4
//   4   4   iteration count, big-endian
//   8   16  salt
//   24  12  nonce
//   36  n   AES-256-GCM ciphertext of the text in UTF-8 (n may be 0)
//   36+n 16 GCM tag
//   52+n    fill zero bytes
//
// The key is PBKDF2-HMAC-SHA256 of the UTF-8 password over the salt, 32
// bytes. The associated data is the whole header (bytes 0..35), so no
// header field can change unnoticed. Other programs read what this one
// writes: the layout never changes under version 1.
#pragma once

#include <cstddef>
#include <cstdint>

#include "block/strong/crypto_provider.h"

namespace quiren::block {

inline constexpr std::uint8_t kEnvelopeVersion = 1;
inline constexpr std::uint8_t kKdfPbkdf2HmacSha256 = 1;
inline constexpr std::uint8_t kCipherAes256Gcm = 1;

inline constexpr std::size_t kVersionOffset = 0;
inline constexpr std::size_t kKdfOffset = 1;
inline constexpr std::size_t kCipherOffset = 2;
inline constexpr std::size_t kFillOffset = 3;
inline constexpr std::size_t kIterationsOffset = 4;
inline constexpr std::size_t kSaltOffset = 8;
inline constexpr std::size_t kSaltSize = 16;
inline constexpr std::size_t kNonceOffset = 24;
inline constexpr std::size_t kHeaderSize = 36;
// The envelope of the empty text, and the shortest there is.
inline constexpr std::size_t kMinEnvelopeSize = kHeaderSize + kTagSize;
inline constexpr std::uint8_t kMaxFill = 3;

// Writers use this many iterations; readers accept the range below. The
// upper bound keeps a crafted envelope from tying the program up for hours.
inline constexpr std::uint32_t kWriteIterations = 600'000;
inline constexpr std::uint32_t kMinReadIterations = 100'000;
inline constexpr std::uint32_t kMaxReadIterations = 10'000'000;

// Texts of up to 1 GiB of UTF-8: far beyond any clipboard text, and within
// the length types of every platform's cipher calls.
inline constexpr std::size_t kMaxTextBytes = std::size_t{1} << 30;

// Zero bytes after the tag for a text of `text_bytes` bytes.
constexpr std::size_t fill_for(std::size_t text_bytes) { return (4 - (kMinEnvelopeSize + text_bytes) % 4) % 4; }

}  // namespace quiren::block
