#include "block/password_nfc.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quiren::block {
namespace {

// NFC composes what has a canonical composition and changes nothing else:
// no compatibility folding (full-width letters, ligatures stay), which would
// make two passwords one that the user typed as two.
TEST(PasswordNfc, ComposesCanonicallyAndNothingElse) {
  struct Case {
    const char* typed;
    const char* nfc;
  };
  const Case cases[] = {
      {"", ""},
      {"plain ascii 123", "plain ascii 123"},
      {"\u304B\u3099\u304D\u3099\u304F\u3099\u30CF\u309A", "がぎぐパ"},  // kana with combining marks
      {"がぎぐパ", "がぎぐパ"},
      {"Cafe\u0301", "Café"},
      {"\u1112\u1161\u11AB", "한"},  // Hangul jamo
      {"\u212B", "\u00C5"},          // the angstrom sign is a singleton
      {"\uFF21\uFB01", "\uFF21\uFB01"},  // full-width A and the fi ligature stay
      {"\u0071\u0307\u0323", "\u0071\u0323\u0307"},  // combining marks in canonical order
      {"😀パス", "😀パス"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::optional<SecretBytes> nfc = nfc_utf8(c.typed);
    ASSERT_TRUE(nfc);
    EXPECT_EQ(nfc->view(), std::string_view(c.nfc));
    EXPECT_EQ(strong_key_password(c.typed).view(), std::string_view(c.nfc));
  }
}

TEST(PasswordNfc, BytesThatAreNotUtf8AreTakenAsTheyAre) {
  for (const std::string_view bad : {std::string_view("\xFF"), std::string_view("a\xC3"),
                                     std::string_view("\xED\xA0\x80")}) {
    EXPECT_FALSE(nfc_utf8(bad));
    EXPECT_EQ(strong_key_password(bad).view(), bad);
  }
}

}  // namespace
}  // namespace quiren::block
