#include "tray/core/settings_store.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tests/support/setting_values.h"
#include "tray/core/settings_keys.h"

namespace quiren::settings {
namespace {

using quiren::testing::FakeDesktop;

// The designed defaults, spelled out once; other tests name only what
// differs from them (defaults_with).
TEST(StartupSettings, EmptyStoreGivesTheDefaults) {
  FakeDesktop desktop;
  StartupRead read = load_startup_settings(desktop);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.values, (SettingValues{
      .wrap_width = 60,
      .encrypt_with_fixed_password = false,
      .decrypt_with_fixed_password = false,
      .decrypt_with_encrypt_password = false,
      .ask_before_encrypt = 1,
      .ask_before_decrypt = 1,
      .encrypt_password_from_list = false,
      .decrypt_password_from_list = false,
      .strong = true,
      .strong_only = false,
    }));
}

TEST(StartupSettings, StoredTextsAreConverted) {
  FakeDesktop desktop;
  desktop.settings = {{u"orikaesi", u"61.5"}, {u"ango", u"True"},       {u"hukugo", u"false"},
                      {u"equalpass", u"-1"},  {u"quest1", u"0"},        {u"quest2", u"255"},
                      {u"usepasslist1", u"TRUE"}, {u"usepasslist2", u"0"}};
  StartupRead read = load_startup_settings(desktop);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.values, defaults_with([](SettingValues& v) {
    v.wrap_width = 62;
    v.encrypt_with_fixed_password = true;
    v.decrypt_with_encrypt_password = true;
    v.ask_before_encrypt = 0;
    v.ask_before_decrypt = 255;
    v.encrypt_password_from_list = true;
  }));

  desktop.settings[u"orikaesi"] = u"60.5";
  EXPECT_EQ(load_startup_settings(desktop).values.wrap_width, 60);
}

// Each start-up key with a text it cannot hold names that key; keys later
// in the read order are not consulted.
TEST(StartupSettings, FirstUnconvertibleKeyStopsTheRead) {
  struct Row {
    std::u16string_view key;
    std::u16string_view bad;
  } rows[] = {
      {kWrapWidth, u"40000"},
      {kWrapWidth, u"sixty"},
      {kEncryptWithFixedPassword, u"yes"},
      {kDecryptWithFixedPassword, u""},
      {kDecryptWithEncryptPassword, u"on"},
      {kAskBeforeEncrypt, u"300"},
      {kAskBeforeDecrypt, u"-1"},
      {kEncryptPasswordFromList, u"x"},
      {kDecryptPasswordFromList, u"Tru"},
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

// The newer keys never stop start-up: an unreadable text keeps the default
// (the secure one for "strong"; reading compatible blocks for "strongonly").
TEST(StartupSettings, NewerKeysAreReadLeniently) {
  const struct {
    std::u16string_view text;
    bool strong;
    bool strong_only;
  } rows[] = {
      {u"False", false, false}, {u"false", false, false}, {u"0", false, false},
      {u"True", true, true},    {u"maybe", true, false},  {u"", true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(quiren::testing::utf8(row.text));
    FakeDesktop desktop;
    desktop.settings[std::u16string(kStrong)] = std::u16string(row.text);
    desktop.settings[std::u16string(kStrongOnly)] = std::u16string(row.text);
    StartupRead read = load_startup_settings(desktop);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.values.strong, row.strong);
    EXPECT_EQ(read.values.strong_only, row.strong_only);
  }
}

TEST(LenientSettings, AbsentOrBadGivesTheDefault) {
  FakeDesktop desktop;
  EXPECT_EQ(read_number_or(desktop, kViewerWidth, kDefaultViewerWidth), 8910);
  EXPECT_EQ(read_number_or(desktop, kViewerHeight, kDefaultViewerHeight), 5865);
  EXPECT_EQ(read_text_or(desktop, kFixedEncryptPassword, kDefaultFixedEncryptPassword), u"");
  EXPECT_TRUE(read_boolean_or(desktop, kEncryptWithFixedPassword, true));

  desktop.settings = {{u"width", u"wide"}, {u"height", u" 7000 "}, {u"ango", u"maybe"},
                      {u"angopass", u" pass ワード "}};
  EXPECT_EQ(read_number_or(desktop, kViewerWidth, kDefaultViewerWidth), 8910);
  EXPECT_EQ(read_number_or(desktop, kViewerHeight, kDefaultViewerHeight), 7000);
  EXPECT_FALSE(read_boolean_or(desktop, kEncryptWithFixedPassword, false));
  EXPECT_EQ(read_text_or(desktop, kFixedEncryptPassword, kDefaultFixedEncryptPassword), u" pass ワード ");
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
  write_boolean(desktop, kEncryptWithFixedPassword, true);
  write_boolean(desktop, kDecryptWithFixedPassword, false);
  write_check(desktop, kWatchClipboard, true);
  write_check(desktop, kAskBeforeEncrypt, false);
  EXPECT_EQ(desktop.settings[u"ango"], u"True");
  EXPECT_EQ(desktop.settings[u"hukugo"], u"False");
  EXPECT_EQ(desktop.settings[u"hock"], u"1");
  EXPECT_EQ(desktop.settings[u"quest1"], u"0");
}

}  // namespace
}  // namespace quiren::settings
