// Generated passphrases ("パスワードを生成", quiren passphrase): words drawn
// from a vetted list (word_lists.h) with the system's cryptographic random
// source, each from the whole list with equal chances.
#pragma once

#include <optional>

#include "block/secret.h"
#include "block/strong/crypto_provider.h"
#include "block/strong/random_index.h"
#include "block/word_lists.h"

namespace quiren::block {

enum class PassphraseForm {
  latin,  // six words of the EFF list joined by "-"
  kana,   // seven hiragana words of the BIP-39 list joined by U+3000
};

const WordList& word_list(PassphraseForm form);

// A new passphrase from `random`'s random_bytes, each word drawn with
// random_index (random_index.h). nullopt when that source
// fails (or gives only rejected numbers): never a shorter or weaker one.
std::optional<SecretText> make_passphrase(const WordList& list, CryptoProvider& random);
inline std::optional<SecretText> make_passphrase(PassphraseForm form, CryptoProvider& random) {
  return make_passphrase(word_list(form), random);
}

}  // namespace quiren::block
