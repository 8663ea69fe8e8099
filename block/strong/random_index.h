// A whole number below a count, drawn from the system's cryptographic
// random source with equal chances: a generated passphrase's words, the
// order of a recipient block's slots.
#pragma once

#include <cstddef>
#include <optional>

#include "block/strong/crypto_provider.h"

namespace quiren::block {

// A number is drawn from two random bytes, high first: 0 to 65,535. Numbers
// from the largest multiple of the count on (62,208 to 65,535 for 7,776;
// none for 2,048) are rejected and drawn again, so that the remainder by the
// count favours no number.
inline constexpr unsigned kDrawRange = 65536;
constexpr unsigned first_rejected_draw(std::size_t count) {
  return kDrawRange - kDrawRange % static_cast<unsigned>(count);
}
// A source that gives this many rejected numbers in a row for one draw is
// taken as broken: a sound one does so with a chance below 10^-80.
inline constexpr int kMostRejectionsInARow = 64;

// A number from 0 to count - 1 (count 1..kDrawRange). nullopt when the
// source fails, or gives only rejected numbers.
std::optional<std::size_t> random_index(std::size_t count, CryptoProvider& random);

}  // namespace quiren::block
