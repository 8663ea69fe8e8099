#include "block/passphrase.h"

#include <gtest/gtest.h>
#include <utf8proc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "block/utf8.h"
#include "tests/support/scripted_random.h"

namespace quiren::block {
namespace {

using testing::ScriptedRandom;

std::u16string joined(const WordList& list, std::initializer_list<std::size_t> indices) {
  std::u16string out;
  for (std::size_t i : indices) {
    if (!out.empty()) out += list.separator;
    out += list.words[i];
  }
  return out;
}

std::string sha256_hex(std::string_view bytes) {
  const std::optional<Sha256Digest> digest = platform_crypto()->sha256(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  if (!digest) return "the platform's SHA-256 failed";
  std::string hex;
  for (std::uint8_t b : *digest) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", b);
    hex += pair;
  }
  return hex;
}

// The files the build read, made again from the words it kept: the EFF
// list's lines carry the five dice (1 to 6) that pick the word; the
// Japanese list is stored decomposed (NFD).
std::string latin_file(const WordList& list) {
  std::string file;
  for (std::size_t i = 0; i < list.words.size(); ++i) {
    std::string dice(5, '1');
    for (std::size_t n = i, d = 5; d-- > 0; n /= 6) dice[d] = static_cast<char>('1' + n % 6);
    file += dice + "\t" + utf8_from_utf16(list.words[i]) + "\n";
  }
  return file;
}

std::string kana_file(const WordList& list) {
  std::string file;
  for (std::u16string_view word : list.words) {
    const std::string nfc = utf8_from_utf16(word);
    utf8proc_uint8_t* nfd = utf8proc_NFD(reinterpret_cast<const utf8proc_uint8_t*>(nfc.c_str()));
    file += reinterpret_cast<const char*>(nfd);
    file += "\n";
    std::free(nfd);
  }
  return file;
}

TEST(WordLists, AreTheFilesTheBuildCheckedWordForWord) {
  EXPECT_EQ(kLatinWords.words.size(), 7776u);
  EXPECT_EQ(kLatinWords.words.front(), u"abacus");
  EXPECT_EQ(kLatinWords.words.back(), u"zoom");
  EXPECT_EQ(sha256_hex(latin_file(kLatinWords)), kLatinWords.file_sha256);
  EXPECT_EQ(kLatinWords.file_sha256, "addd35536511597a02fa0a9ff1e5284677b8883b83e986e43f15a3db996b903e");

  EXPECT_EQ(kKanaWords.words.size(), 2048u);
  EXPECT_EQ(kKanaWords.words.front(), u"あいこくしん");
  EXPECT_EQ(kKanaWords.words.back(), u"われる");
  EXPECT_EQ(sha256_hex(kana_file(kKanaWords)), kKanaWords.file_sha256);
  EXPECT_EQ(kKanaWords.file_sha256, "2eed0aef492291e061633d7ad8117f1a2b03eb80a29d0e4e3117ac2528d05ffd");
  // Precomposed, as users type them: "あおぞら", not "あおそ" + U+3099 + "ら".
  EXPECT_EQ(kKanaWords.words[3], u"あおぞら");
  for (std::u16string_view word : kKanaWords.words) {
    for (char16_t c : word) ASSERT_TRUE(c >= u'ぁ' && c <= u'ゖ') << utf8_from_utf16(word);
  }
}

TEST(Passphrase, SixLatinWordsJoinedByHyphensOrSevenKanaWordsJoinedByIdeographicSpaces) {
  EXPECT_EQ(&word_list(PassphraseForm::latin), &kLatinWords);
  EXPECT_EQ(&word_list(PassphraseForm::kana), &kKanaWords);
  // 6639 is "t-shirt": a word may hold the separator itself.
  ScriptedRandom latin{0, 1, 2, 6639, 7774, 7775};
  EXPECT_EQ(make_passphrase(PassphraseForm::latin, latin),
            std::u16string_view(u"abacus-abdomen-abdominal-t-shirt-zoology-zoom"));
  EXPECT_TRUE(latin.bytes.empty());

  ScriptedRandom kana{0, 1, 2, 3, 1000, 2046, 2047};
  EXPECT_EQ(make_passphrase(PassphraseForm::kana, kana),
            std::u16string_view(joined(kKanaWords, {0, 1, 2, 3, 1000, 2046, 2047})));
  EXPECT_EQ(make_passphrase(PassphraseForm::kana, kana.then({0, 0, 0, 0, 0, 0, 0}))->view(),
            u"あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん");
}

TEST(Passphrase, NumbersThatWouldFavourSomeWordsAreRejectedAndDrawnAgain) {
  EXPECT_EQ(first_rejected_draw(7776), 62208u);  // 8 * 7776
  EXPECT_EQ(first_rejected_draw(2048), 65536u);  // none

  // The largest number kept gives the last word; the rejected ones are
  // skipped and cost a draw each.
  ScriptedRandom random{62208, 65535, 62207, 63000, 7776, 62209, 3, 4, 5, 6};
  EXPECT_EQ(make_passphrase(kLatinWords, random), std::u16string_view(joined(kLatinWords, {7775, 0, 3, 4, 5, 6})));
  EXPECT_TRUE(random.bytes.empty());
  EXPECT_EQ(random.calls, 10);

  // Every number a draw can give, once each: every word comes up equally
  // often, and exactly the numbers past the last whole multiple of the
  // list's size are rejected.
  for (const WordList* list : {&kLatinWords, &kKanaWords}) {
    const WordList one_word{list->words, 1, list->separator, list->file_sha256};
    std::map<std::u16string, int> times;
    int rejected = 0;
    for (unsigned n = 0; n < kDrawRange; ++n) {
      ScriptedRandom random_once{n};
      if (std::optional<SecretText> word = make_passphrase(one_word, random_once)) {
        ++times[std::u16string(word->view())];
      } else {
        ++rejected;
        EXPECT_GE(n, first_rejected_draw(list->words.size()));
      }
    }
    const int each = static_cast<int>(kDrawRange / list->words.size());
    EXPECT_EQ(times.size(), list->words.size());
    for (const auto& [word, count] : times) ASSERT_EQ(count, each) << utf8_from_utf16(word);
    EXPECT_EQ(rejected, static_cast<int>(kDrawRange % list->words.size()));
  }
}

TEST(Passphrase, AFailingRandomSourceGivesNoPassphraseAtAll) {
  ScriptedRandom fails_at_once;
  fails_at_once.fails = true;
  EXPECT_FALSE(make_passphrase(PassphraseForm::latin, fails_at_once));

  ScriptedRandom fails_after_three_words{1, 2, 3};
  EXPECT_FALSE(make_passphrase(PassphraseForm::kana, fails_after_three_words));

  // Only rejected numbers: a broken source, not an endless loop.
  ScriptedRandom stuck;
  for (int i = 0; i < kMostRejectionsInARow; ++i) stuck.then({65535});
  stuck.then({0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(make_passphrase(PassphraseForm::latin, stuck));
  EXPECT_EQ(stuck.calls, kMostRejectionsInARow);

  ScriptedRandom nearly_stuck;
  for (int i = 0; i < kMostRejectionsInARow - 1; ++i) nearly_stuck.then({65535});
  nearly_stuck.then({0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(make_passphrase(PassphraseForm::latin, nearly_stuck));
}

TEST(Passphrase, TheSystemSourceGivesANewOneEachTime) {
  std::unique_ptr<CryptoProvider> system = platform_crypto();
  const std::optional<SecretText> first = make_passphrase(PassphraseForm::latin, *system);
  const std::optional<SecretText> second = make_passphrase(PassphraseForm::latin, *system);
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  const std::optional<SecretText> kana = make_passphrase(PassphraseForm::kana, *system);
  ASSERT_TRUE(kana);
  EXPECT_EQ(std::count(kana->view().begin(), kana->view().end(), u'\u3000'), 6);
}

}  // namespace
}  // namespace quiren::block
