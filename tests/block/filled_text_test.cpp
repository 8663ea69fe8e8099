#include "block/filled_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace quiren::block {
namespace {

TEST(FilledText, FillsNamedPlacesAndLeavesOthers) {
  const struct {
    std::u16string_view pattern;
    std::u16string expected;
  } cases[] = {
      {u"{a}/{b}", u"1/22"},
      {u"{b}{a}{b}", u"22122"},
      {u"{c} {a", u"{c} {a"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(filled(c.pattern, {{"a", u"1"}, {"b", decimal(22)}}), c.expected);
  EXPECT_EQ(decimal(0), u"0");
  EXPECT_EQ(decimal(30'000'000), u"30000000");
}

}  // namespace
}  // namespace quiren::block
