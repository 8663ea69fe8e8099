#include "cipher/armour.h"
#include "cipher/armour_removal.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/cipher/cipher_test_support.h"

namespace quiren::cipher {
namespace {

using testing::bytes_of;
using testing::Notice;
using testing::NoticeRecorder;

TEST(Armour, KnownGroups) {
  EXPECT_EQ(armour(bytes_of("abcx")), "R$4(J");
  EXPECT_EQ(armour(std::vector<std::uint8_t>(4, 0)), "GGGGG");
  EXPECT_EQ(armour(std::vector<std::uint8_t>(4, 0xFF)), "_+pWG");
  EXPECT_EQ(armour(bytes_of("abcxabcx")), "R$4(JR$4(J");
  EXPECT_EQ(armour({}), "");
}

TEST(Armour, EveryGroupSurvivesRoundTripWithoutNotices) {
  NoticeRecorder notices;
  std::mt19937 rng(5);
  std::vector<std::uint8_t> bytes = bytes_of(testing::random_bytes(rng, 4000, 0, 255));
  for (std::uint8_t b : {0x00, 0xFF, 0x80}) bytes.insert(bytes.end(), 4, b);
  const std::string body = armour(bytes);
  ASSERT_EQ(body.size(), bytes.size() / 4 * 5);
  for (const char c : body) {
    EXPECT_TRUE(c >= 0x21 && c <= 0x7E && std::string_view(",<=>\\]`{}").find(c) == std::string_view::npos) << c;
  }
  EXPECT_EQ(remove_armour(body), bytes);
  EXPECT_TRUE(notices.notices.empty());
}

TEST(DecodeArmour, TakesOnlyWhatAnEncoderWritesAndNeverRaisesANotice) {
  NoticeRecorder notices;
  std::mt19937 rng(7);
  const std::vector<std::uint8_t> bytes = bytes_of(testing::random_bytes(rng, 400, 0, 255));
  EXPECT_EQ(decode_armour(armour(bytes)), bytes);
  EXPECT_EQ(decode_armour(""), std::vector<std::uint8_t>{});
  EXPECT_EQ(decode_armour("_+pWG"), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  for (std::string_view bad : {"R$4(JG", "R$4(", "R$4,J", "R$4(J\r\nGGGGG", "R$ 4(J", "wGGGG", "_+pWH"}) {
    EXPECT_EQ(decode_armour(bad), std::nullopt) << bad;
  }
  EXPECT_TRUE(notices.notices.empty());
  EXPECT_TRUE(is_armour_text("Gg2Qs#3Al~?f_Nw"));
  EXPECT_FALSE(is_armour_text("GG GG"));
  EXPECT_EQ(armour_digit('w'), 84u);
  EXPECT_EQ(armour_digit('>'), std::nullopt);
}

TEST(RemoveArmour, LengthNotMultipleOfFiveWarnsOnceAndDecodesWholeGroups) {
  NoticeRecorder notices;
  EXPECT_EQ(remove_armour("R$4(JGG"), bytes_of("abcx"));
  EXPECT_EQ(notices.notices, (std::vector<Notice>{{"quiren.dll", "暗号文が異常です"}}));
  notices.notices.clear();
  EXPECT_TRUE(remove_armour("").empty());
  EXPECT_TRUE(remove_armour("GGG").empty());
  EXPECT_EQ(notices.notices.size(), 1u);  // only for "GGG"
}

TEST(RemoveArmour, OutsideCharactersCountAs99EachWithItsNotice) {
  NoticeRecorder notices;
  // CR LF inside a body: two notices in order, the grouping shifts.
  const std::vector<std::uint8_t> out = remove_armour("R$\r\nJ");
  EXPECT_EQ(notices.notices, (std::vector<Notice>{{"Error", "\r"}, {"Error", "\n"}}));
  const std::uint32_t v = ((((31u * 85u + 25u) * 85u + 99u) * 85u + 99u) * 85u + 74u);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                                            static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}));
  notices.notices.clear();
  // A byte of a double-byte character reaches the notice unchanged.
  remove_armour("\x82\xA0GGG");
  EXPECT_EQ(notices.notices, (std::vector<Notice>{{"Error", "\x82"}, {"Error", "\xA0"}}));
}

TEST(RemoveArmour, DigitsNoEncoderMakesWrapModulo2To32) {
  // "wwwww" is digit 84 five times: 85^5 - 1 wraps.
  const std::uint32_t v = static_cast<std::uint32_t>(4437053124ull);
  EXPECT_EQ(remove_armour("wwwww"),
            (std::vector<std::uint8_t>{static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                                       static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}));
}

}  // namespace
}  // namespace quiren::cipher
