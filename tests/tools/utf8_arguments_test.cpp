#include "tools/quiren/utf8_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/quiren/tool_texts.h"

namespace quiren::tool {
namespace {

// What Windows hands the wide entry point, and what the tool then works on.
TEST(Utf8Arguments, EachArgumentBecomesItsUtf8) {
  const std::vector<std::u16string> given = {
      u"key", u"new", u"--name", u"田中太郎",
      // U+1F511 as a surrogate pair: one four-byte character, not two.
      u"--out", u"C:\\鍵の置き場🔑\\秘密鍵 Ω é.txt",
      u"",  // an empty argument stays one
  };
  const Utf8Arguments converted = utf8_arguments(given);
  EXPECT_EQ(converted.problem, "");
  const std::vector<std::string> expected = {
      "key", "new", "--name", "田中太郎", "--out", "C:\\鍵の置き場\xF0\x9F\x94\x91\\秘密鍵 Ω é.txt", "",
  };
  EXPECT_EQ(converted.args, expected);
  EXPECT_TRUE(utf8_arguments({}).args.empty());
}

// Half a surrogate pair names a file UTF-8 cannot: refused, never taken as
// U+FFFD (which would name another file).
TEST(Utf8Arguments, HalfASurrogatePairIsRefusedNamingTheArgument) {
  const struct {
    std::u16string bad;
    std::string shown;
  } cases[] = {
      {std::u16string(u"鍵") + char16_t{0xD83D} + u".txt", "鍵\uFFFD.txt"},        // high half at the end
      {std::u16string(u"a") + char16_t{0xDD11}, "a\uFFFD"},                        // low half alone
      {std::u16string{char16_t{0xDD11}, char16_t{0xD83D}}, "\uFFFD\uFFFD"},        // the halves reversed
  };
  for (const auto& c : cases) {
    const std::vector<std::u16string> given = {u"decrypt", u"--key", c.bad};
    const Utf8Arguments converted = utf8_arguments(given);
    EXPECT_TRUE(converted.args.empty());
    EXPECT_EQ(converted.problem, std::string("argument 3 holds half of a UTF-16 surrogate pair, which names no file "
                                             "or text: ") + c.shown);
  }
}

}  // namespace
}  // namespace quiren::tool
