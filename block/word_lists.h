// The word lists generated passphrases are drawn from. The build makes them
// from Debian's packages (block/word_lists.py, which checks each file's
// SHA-256 and says how many words make a passphrase and what joins them);
// they are never kept in the repository.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace quiren::block {

struct WordList {
  std::span<const std::u16string_view> words;  // in the file's order
  std::size_t per_passphrase = 0;              // words in a passphrase
  std::u16string_view separator;               // between them
  std::string_view file_sha256;                // of the file the build read them from (hex)
};

// The EFF large list (Debian's diceware): 7,776 words; six, joined by "-",
// are 77.5 bits.
extern const WordList kLatinWords;
// The Japanese BIP-39 list (Debian's python3-mnemonic), precomposed (NFC):
// 2,048 hiragana words; seven, joined by the ideographic space U+3000, are
// 77 bits.
extern const WordList kKanaWords;

}  // namespace quiren::block
