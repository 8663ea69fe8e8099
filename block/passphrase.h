// Generated passphrases ("パスワードを生成", quiren passphrase): words drawn
// from a vetted list (word_lists.h) with the system's cryptographic random
// source, each from the whole list with equal chances.
#pragma once

#include <optional>

#include "block/secret.h"
#include "block/strong/crypto_provider.h"
#include "block/word_lists.h"

namespace quiren::block {

enum class PassphraseForm {
  latin,  // six words of the EFF list joined by "-"
  kana,   // seven hiragana words of the BIP-39 list joined by U+3000
};

const WordList& word_list(PassphraseForm form);

// A word is drawn from two random bytes read as a number from 0 to 65,535.
// Numbers from the list's largest multiple of its size on (62,208 to
// 65,535 for the 7,776 words; none for 2,048) are rejected and drawn
// again, so that the remainder by the size favours no word.
inline constexpr unsigned kDrawRange = 65536;
constexpr unsigned first_rejected_draw(std::size_t list_size) {
  return kDrawRange - kDrawRange % static_cast<unsigned>(list_size);
}
// A source that gives this many rejected numbers in a row for one word is
// taken as broken: a sound one does so with a chance below 10^-80.
inline constexpr int kMostRejectionsInARow = 64;

// A new passphrase from `random`'s random_bytes. nullopt when that source
// fails (or gives only rejected numbers): never a shorter or weaker one.
std::optional<SecretText> make_passphrase(const WordList& list, CryptoProvider& random);
inline std::optional<SecretText> make_passphrase(PassphraseForm form, CryptoProvider& random) {
  return make_passphrase(word_list(form), random);
}

}  // namespace quiren::block
