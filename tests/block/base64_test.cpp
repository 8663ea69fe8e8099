#include "block/base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quiren::block {
namespace {

using namespace std::literals;

std::vector<std::uint8_t> bytes_of(std::string_view text) { return {text.begin(), text.end()}; }

// RFC 4648's test vectors, without their padding.
TEST(Base64, StandardVectors) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},         {"f", "Zg"},         {"fo", "Zm8"},        {"foo", "Zm9v"},
      {"foob", "Zm9vYg"}, {"fooba", "Zm9vYmE"}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [plain, armour] : cases) {
    EXPECT_EQ(base64_armour(bytes_of(plain)), armour);
    EXPECT_EQ(base64_bytes(armour), bytes_of(plain)) << armour;
  }
  EXPECT_EQ(base64_armour(std::vector<std::uint8_t>{0xFB, 0xFF, 0xBF}), "+/+/");
}

TEST(Base64, EveryLengthRoundTrips) {
  std::mt19937 rng(7);
  for (std::size_t n = 0; n < 300; ++n) {
    std::vector<std::uint8_t> data(n);
    for (std::uint8_t& b : data) b = static_cast<std::uint8_t>(rng());
    const std::string armour = base64_armour(data);
    EXPECT_EQ(armour.size(), (4 * n + 2) / 3);
    EXPECT_TRUE(is_base64_length(armour.size()));
    EXPECT_EQ(base64_bytes(armour), data) << n;
  }
}

// Only what the writer writes: each envelope has one armour.
TEST(Base64, RefusesWhatNoWriterWrites) {
  const std::string_view refused[] = {"Z",   "Zm9vY",          "Zh",           "Zm9",         "Zm9vYmF",
                                      "Zg==", "Zm8=",          "Zm9v YmFy",    "Zm9v\r\nYmFy", "-_8",
                                      "Zm9\xC3\xA9", "Zm9v\0YmFy"sv, "Zm9vYmFy>"};
  for (std::string_view bad : refused) {
    EXPECT_EQ(base64_bytes(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(base64_bytes("Zm8"), bytes_of("fo"));
  EXPECT_FALSE(is_base64_character(U'='));
  EXPECT_FALSE(is_base64_character(U'\uFF21'));
  EXPECT_TRUE(is_base64_character(U'/'));
}

}  // namespace
}  // namespace quiren::block
