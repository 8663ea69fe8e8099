#include "tray/passlist/masked_password.h"

#include <gtest/gtest.h>

#include <iterator>

namespace quiren::passlist {
namespace {

TEST(MaskedPassword, ShowsTwoCharactersThenOneMaskPerCharacter) {
  struct Case {
    std::u16string_view password;
    std::u16string_view line;
  } cases[] = {
      {u"", u""},
      {u"a", u"●"},
      {u"ab", u"●●"},  // two shown would be the whole password
      {u"abc", u"ab●"},
      {u" p@ss, word ", u" p●●●●●●●●●●"},
      {u"日本語パスワード", u"日本●●●●●●"},
      // A surrogate pair is one character: shown whole or masked whole.
      {u"\U0001F511", u"●"},
      {u"\U0001F511\U0001F512", u"●●"},
      {u"\U0001F511\U0001F512\U0001F513", u"\U0001F511\U0001F512●"},
      {u"a\U0001F511bc", u"a\U0001F511●●"},
      {u"ab\U0001F511", u"ab●"},
      // An unpaired surrogate counts as one character, as the code point it is.
      {u"\xD800xyz", u"\xD800x●●"},
      {u"x\xDC00", u"●●"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(masked_password(cases[i].password).view(), cases[i].line) << "case " << i;
  }
}

}  // namespace
}  // namespace quiren::passlist
