#include "block/passphrase.h"

namespace quiren::block {

const WordList& word_list(PassphraseForm form) { return form == PassphraseForm::kana ? kKanaWords : kLatinWords; }

std::optional<SecretText> make_passphrase(const WordList& list, CryptoProvider& random) {
  if (list.words.empty() || list.words.size() > kDrawRange || list.per_passphrase == 0) return std::nullopt;
  SecretText passphrase;
  for (std::size_t i = 0; i < list.per_passphrase; ++i) {
    const std::optional<std::size_t> index = random_index(list.words.size(), random);
    if (!index) return std::nullopt;
    if (i > 0) passphrase.append(list.separator);
    passphrase.append(list.words[*index]);
  }
  return passphrase;
}

}  // namespace quiren::block
