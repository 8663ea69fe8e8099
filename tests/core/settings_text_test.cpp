#include "tray/core/settings_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "tray/core/program_state.h"

namespace quiren::settings {
namespace {

TEST(SettingsNumber, AcceptedFormsAndRounding) {
  struct Row {
    std::u16string_view text;
    std::int64_t value;
  } rows[] = {
      {u"60", 60},      {u" 60 ", 60},     {u"\t60", 60},   {u"+7", 7},
      {u"-3", -3},      {u"60.5", 60},     {u"61.5", 62},   {u"-60.5", -60},
      {u"-61.5", -62},  {u"0.5", 0},       {u"1.5", 2},     {u"2.5000", 2},
      {u"2.5001", 3},   {u"60.49", 60},    {u"60.51", 61},  {u".5", 0},
      {u"5.", 5},       {u"1e2", 100},     {u"1E+2", 100},  {u"25e-1", 2},
      {u"35e-1", 4},    {u"0.05", 0},      {u"0.0000009", 0}, {u"007", 7},
      {u"0", 0},        {u"-0", 0},        {u"2147483647", 2147483647},
      {u"-2147483648", -2147483648LL},     {u"1e-100000000", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(parse_rounded_number(row.text), std::optional<std::int64_t>(row.value))
        << std::string(row.text.begin(), row.text.end());
  }
}

TEST(SettingsNumber, RejectedTexts) {
  for (std::u16string_view text :
       {u"", u" ", u"abc", u"60a", u"6 0", u"1,000", u"&H10", u".", u"-", u"1e", u"1e+",
        u"--1", u"2147483648", u"-2147483649", u"1e10", u"99999999999999999999", u"1e100000000",
        u"６０"}) {
    EXPECT_EQ(parse_rounded_number(text), std::nullopt) << std::string(text.begin(), text.end());
  }
}

TEST(SettingsNumber, RangesOfTheStoredIntegers) {
  EXPECT_EQ(parse_int16(u"32767"), std::optional<std::int16_t>(32767));
  EXPECT_EQ(parse_int16(u"-32768"), std::optional<std::int16_t>(-32768));
  EXPECT_EQ(parse_int16(u"32767.4"), std::optional<std::int16_t>(32767));
  EXPECT_EQ(parse_int16(u"32767.5"), std::nullopt);  // rounds to 32768
  EXPECT_EQ(parse_int16(u"-32769"), std::nullopt);

  EXPECT_EQ(parse_byte(u"255"), std::optional<std::uint8_t>(255));
  EXPECT_EQ(parse_byte(u"0"), std::optional<std::uint8_t>(0));
  EXPECT_EQ(parse_byte(u"-0.4"), std::optional<std::uint8_t>(0));
  EXPECT_EQ(parse_byte(u"300"), std::nullopt);
  EXPECT_EQ(parse_byte(u"256"), std::nullopt);
  EXPECT_EQ(parse_byte(u"-1"), std::nullopt);
}

TEST(SettingsBoolean, WordsInAnyCaseAndNumbers) {
  struct Row {
    std::u16string_view text;
    std::optional<bool> value;
  } rows[] = {
      {u"True", true},   {u"TRUE", true},  {u"tRuE", true},    {u"False", false},
      {u"false", false}, {u"0", false},    {u" 0.0 ", false},  {u"1", true},
      {u"-1", true},     {u"0.4", true},   {u"1e3", true},     {u"", std::nullopt},
      {u"yes", std::nullopt}, {u" True", std::nullopt}, {u"Truex", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(parse_boolean(row.text), row.value) << std::string(row.text.begin(), row.text.end());
  }
}

TEST(SettingsNumber, ExactEquality) {
  EXPECT_EQ(number_equals(u"1", 1), std::optional<bool>(true));
  EXPECT_EQ(number_equals(u" 1.00 ", 1), std::optional<bool>(true));
  EXPECT_EQ(number_equals(u"10e-1", 1), std::optional<bool>(true));
  EXPECT_EQ(number_equals(u"1.4", 1), std::optional<bool>(false));
  EXPECT_EQ(number_equals(u"0.6", 1), std::optional<bool>(false));
  EXPECT_EQ(number_equals(u"0", 1), std::optional<bool>(false));
  EXPECT_EQ(number_equals(u"on", 1), std::nullopt);
}

TEST(SettingsText, WrittenForms) {
  EXPECT_EQ(boolean_text(true), u"True");
  EXPECT_EQ(boolean_text(false), u"False");
  EXPECT_EQ(check_text(true), u"1");
  EXPECT_EQ(check_text(false), u"0");
}

}  // namespace
}  // namespace quiren::settings
