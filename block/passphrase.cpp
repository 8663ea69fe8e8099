#include "block/passphrase.h"

#include <array>
#include <cstdint>

#include "block/secure_wipe.h"

namespace quiren::block {
namespace {

// The index of one word, or nullopt when the source failed.
std::optional<std::size_t> draw_index(std::size_t list_size, CryptoProvider& random) {
  const unsigned rejected_from = first_rejected_draw(list_size);
  std::array<std::uint8_t, 2> bytes{};
  std::optional<std::size_t> index;
  for (int rejected = 0; rejected < kMostRejectionsInARow && !index; ++rejected) {
    if (!random.random_bytes(bytes)) break;
    const unsigned drawn = static_cast<unsigned>(bytes[0]) << 8 | bytes[1];
    if (drawn < rejected_from) index = drawn % list_size;
  }
  wipe(bytes);
  return index;
}

}  // namespace

const WordList& word_list(PassphraseForm form) { return form == PassphraseForm::kana ? kKanaWords : kLatinWords; }

std::optional<SecretText> make_passphrase(const WordList& list, CryptoProvider& random) {
  if (list.words.empty() || list.words.size() > kDrawRange || list.per_passphrase == 0) return std::nullopt;
  SecretText passphrase;
  for (std::size_t i = 0; i < list.per_passphrase; ++i) {
    const std::optional<std::size_t> index = draw_index(list.words.size(), random);
    if (!index) return std::nullopt;
    if (i > 0) passphrase.append(list.separator);
    passphrase.append(list.words[*index]);
  }
  return passphrase;
}

}  // namespace quiren::block
