#include "block/composed_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace quiren::block {
namespace {

constexpr auto kLimit = compose(u"", 30, u"文字以上のパスワードは利用できません。");
static_assert(kLimit.view() == u"30文字以上のパスワードは利用できません。");

TEST(ComposedText, WritesTheNumberBetweenTheTexts) {
  struct Case {
    std::uint64_t n;
    std::string_view text;
  };
  const Case cases[] = {{0, "[0]"}, {7, "[7]"}, {128, "[128]"}, {18'446'744'073'709'551'615u, "[18446744073709551615]"}};
  for (const Case& c : cases) EXPECT_EQ(compose("[", c.n, "]").view(), c.text);
  EXPECT_EQ(compose(u"幅は", 10, u"以上", 100, u"以内").view(), u"幅は10以上100以内");
}

}  // namespace
}  // namespace quiren::block
