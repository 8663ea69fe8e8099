#include "tray/core/settings_store.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tests/support/setting_values_printer.h"
#include "tray/core/settings_keys.h"

namespace quiren::settings {
namespace {

using quiren::testing::FakeDesktop;

TEST(StartupSettings, EmptyStoreGivesTheDefaults) {
  FakeDesktop desktop;
  StartupRead read = load_startup_settings(desktop);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.values, (SettingValues{.orikaesi = 60, .ango = 0, .hukugo = 0, .equalpass = 0, .quest1 = 1,
                                        .quest2 = 1, .usepasslist1 = 0, .usepasslist2 = 0, .strong = -1}));
}

TEST(StartupSettings, StoredTextsAreConverted) {
  FakeDesktop desktop;
  desktop.settings = {{u"orikaesi", u"61.5"}, {u"ango", u"True"},       {u"hukugo", u"false"},
                      {u"equalpass", u"-1"},  {u"quest1", u"0"},        {u"quest2", u"255"},
                      {u"usepasslist1", u"TRUE"}, {u"usepasslist2", u"0"}};
  StartupRead read = load_startup_settings(desktop);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.values, (SettingValues{.orikaesi = 62, .ango = -1, .hukugo = 0, .equalpass = -1, .quest1 = 0,
                                        .quest2 = 255, .usepasslist1 = -1, .usepasslist2 = 0, .strong = -1}));

  desktop.settings[u"orikaesi"] = u"60.5";
  EXPECT_EQ(load_startup_settings(desktop).values.orikaesi, 60);
}

// Each start-up key with a text it cannot hold names that key; keys later
// in the read order are not consulted.
TEST(StartupSettings, FirstUnconvertibleKeyStopsTheRead) {
  struct Row {
    std::u16string_view key;
    std::u16string_view bad;
  } rows[] = {
      {kOrikaesi, u"40000"}, {kOrikaesi, u"sixty"}, {kAngo, u"yes"},       {kHukugo, u""},
      {kEqualpass, u"on"},   {kQuest1, u"300"},     {kQuest2, u"-1"},      {kUsepasslist1, u"x"},
      {kUsepasslist2, u"Tru"},
  };
  for (const auto& row : rows) {
    FakeDesktop desktop;
    desktop.settings[u"usepasslist2"] = u"not a value";  // read last: must not win
    desktop.settings[std::u16string(row.key)] = std::u16string(row.bad);
    StartupRead read = load_startup_settings(desktop);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(*read.bad_key, row.key) << quiren::testing::utf8(row.key) << " = " << quiren::testing::utf8(row.bad);
  }
}

// The newer "strong" key never stops start-up: an unreadable text keeps the
// secure default.
TEST(StartupSettings, StrongIsReadLeniently) {
  const std::pair<std::u16string_view, std::int16_t> rows[] = {
      {u"False", 0}, {u"false", 0}, {u"0", 0}, {u"True", -1}, {u"maybe", -1}, {u"", -1},
  };
  for (const auto& [text, flag] : rows) {
    FakeDesktop desktop;
    desktop.settings[std::u16string(kStrong)] = std::u16string(text);
    StartupRead read = load_startup_settings(desktop);
    ASSERT_TRUE(read.ok()) << quiren::testing::utf8(text);
    EXPECT_EQ(read.values.strong, flag) << quiren::testing::utf8(text);
  }
}

TEST(LenientSettings, AbsentOrBadGivesTheDefault) {
  FakeDesktop desktop;
  EXPECT_EQ(read_number_or(desktop, kWidth, kDefaultWidth), 8910);
  EXPECT_EQ(read_number_or(desktop, kHeight, kDefaultHeight), 5865);
  EXPECT_EQ(read_text_or(desktop, kAngopass, kDefaultAngopass), u"");
  EXPECT_TRUE(read_boolean_or(desktop, kAngo, true));

  desktop.settings = {{u"width", u"wide"}, {u"height", u" 7000 "}, {u"ango", u"maybe"},
                      {u"angopass", u" pass ワード "}};
  EXPECT_EQ(read_number_or(desktop, kWidth, kDefaultWidth), 8910);
  EXPECT_EQ(read_number_or(desktop, kHeight, kDefaultHeight), 7000);
  EXPECT_FALSE(read_boolean_or(desktop, kAngo, false));
  EXPECT_EQ(read_text_or(desktop, kAngopass, kDefaultAngopass), u" pass ワード ");
}

TEST(LenientSettings, WatchIsOnOnlyForExactlyOne) {
  struct Row {
    std::optional<std::u16string_view> stored;
    bool on;
  } rows[] = {{std::nullopt, true}, {u"1", true},   {u"1.0", true}, {u"0", false},
              {u"2", false},        {u"1.4", false}, {u"-1", false}, {u"junk", true}};
  for (const auto& row : rows) {
    FakeDesktop desktop;
    if (row.stored) desktop.settings[u"hock"] = std::u16string(*row.stored);
    EXPECT_EQ(watch_enabled(desktop), row.on) << (row.stored ? quiren::testing::utf8(*row.stored) : "absent");
  }
}

TEST(SettingsWriters, DialogTextForms) {
  FakeDesktop desktop;
  write_boolean(desktop, kAngo, true);
  write_boolean(desktop, kHukugo, false);
  write_check(desktop, kHock, true);
  write_check(desktop, kQuest1, false);
  EXPECT_EQ(desktop.settings[u"ango"], u"True");
  EXPECT_EQ(desktop.settings[u"hukugo"], u"False");
  EXPECT_EQ(desktop.settings[u"hock"], u"1");
  EXPECT_EQ(desktop.settings[u"quest1"], u"0");
}

}  // namespace
}  // namespace quiren::settings
