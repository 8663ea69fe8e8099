#include "tray/passlist/password_list_file.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tests/support/secret_texts.h"

namespace quiren {
namespace {

using testing::FakeDesktop;
using testing::plain;
using testing::u16;

const std::u16string kPath = u"C:\\Program Files\\mu-quiren\\quiren.pas";

PasswordEntries entries(std::vector<std::u16string> passwords,
                        std::vector<std::u16string> descriptions) {
  return {testing::secrets(passwords), std::move(descriptions)};
}

TEST(PasswordFilePath, JoinsDirectoryAndNameWithOneBackslash) {
  EXPECT_EQ(password_file_path(u"C:\\Program Files\\mu-quiren"), kPath);
  EXPECT_EQ(password_file_path(u"D:\\"), u"D:\\quiren.pas");
}

TEST(PasswordFileFormat, WritesCountAndQuotedLinesWithCrLf) {
  FakeDesktop desktop;
  EXPECT_EQ(format_password_file({}, desktop).view(), "0\r\n");
  EXPECT_EQ(format_password_file(entries({u"abc"}, {u""}), desktop).view(), "1\r\n\"abc\"\r\n\"\"\r\n");
  EXPECT_EQ(format_password_file(entries({u" a,b ", u"x"}, {u"one, two", u" y"}), desktop).view(),
            "2\r\n\" a,b \"\r\n\"one, two\"\r\n\"x\"\r\n\" y\"\r\n");
}

TEST(PasswordFileFormat, JapaneseIsStoredInTheAnsiCodePage) {
  FakeDesktop desktop(932);
  std::u16string thirty(30, u'あ');
  const std::string bytes(format_password_file(entries({thirty}, {u16("説明")}), desktop).view());
  std::string sjis_a = "\x82\xA0";
  std::string line;
  for (int i = 0; i < 30; ++i) line += sjis_a;
  EXPECT_EQ(bytes, "1\r\n\"" + line + "\"\r\n\"\x90\xE0\x96\xBE\"\r\n");
  // 60 bytes of text plus the quotes, then CR LF.
  EXPECT_EQ(bytes.find("\r\n", 3) - 3, 62u);
}

TEST(PasswordFileRoundTrip, SaveThenLoadGivesTheSameEntries) {
  FakeDesktop desktop;
  PasswordEntries list = entries({u16("日本語のパスワード"), u" lead, trail ", u"x"},
                                 {u16("説明、です"), u"", u"a \t b"});
  ASSERT_TRUE(save_password_file(list, desktop));
  ASSERT_TRUE(desktop.files.count(kPath));
  LoadedPasswordFile loaded = load_password_file(desktop);
  EXPECT_EQ(plain(loaded.entries.passwords), plain(list.passwords));
  EXPECT_EQ(loaded.entries.descriptions, list.descriptions);
  EXPECT_EQ(loaded.stored_count, 3);
  EXPECT_EQ(loaded.source, PasswordFileSource::whole);
}

TEST(PasswordFileLoad, AbsentOrHiddenFileIsAnEmptyList) {
  FakeDesktop desktop;
  EXPECT_TRUE(load_password_file(desktop).entries.passwords.empty());
  desktop.files[kPath] = "1\r\n\"a\"\r\n\"b\"\r\n";
  desktop.hidden_files.insert(kPath);
  LoadedPasswordFile loaded = load_password_file(desktop);
  EXPECT_TRUE(loaded.entries.passwords.empty());
  EXPECT_EQ(loaded.source, PasswordFileSource::not_plain);
}

TEST(PasswordFileLoad, UnreadableFileIsNeitherAbsentNorEmpty) {
  FakeDesktop desktop;
  desktop.files[kPath] = "1\r\n\"a\"\r\n\"b\"\r\n";
  desktop.unreadable_files.insert(kPath);
  LoadedPasswordFile loaded = load_password_file(desktop);
  EXPECT_EQ(loaded.source, PasswordFileSource::unreadable);
  EXPECT_TRUE(loaded.entries.passwords.empty());
}

TEST(PasswordFileLoad, OnlyADamagedFileKeepsItsBytes) {
  FakeDesktop desktop;
  const std::string damaged = "2\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n";
  desktop.files[kPath] = damaged;
  LoadedPasswordFile loaded = load_password_file(desktop);
  EXPECT_EQ(loaded.source, PasswordFileSource::damaged);
  EXPECT_EQ(loaded.original.view(), damaged);

  desktop.files[kPath] = "1\r\n\"a\"\r\n\"b\"\r\n";
  loaded = load_password_file(desktop);
  EXPECT_EQ(loaded.source, PasswordFileSource::whole);
  EXPECT_EQ(loaded.original.view(), "");
}

TEST(PasswordFileLoad, RootDirectoryReadsTheFileThere) {
  FakeDesktop desktop;
  desktop.program_dir = u"D:\\";
  desktop.files[u"D:\\quiren.pas"] = "1\r\n\"a\"\r\n\"b\"\r\n";
  EXPECT_EQ(plain(load_password_file(desktop).entries.passwords), std::vector<std::u16string>{u"a"});
}

constexpr auto kWhole = PasswordFileSource::whole;
constexpr auto kDamaged = PasswordFileSource::damaged;

struct MalformedCase {
  const char* name;
  std::string bytes;
  std::vector<std::u16string> passwords;
  std::vector<std::u16string> descriptions;
  // damaged: a save of what is listed would lose or change something
  PasswordFileSource source;
};

class PasswordFileMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(PasswordFileMalformed, ListsTheWellFormedPairsOnlyAndSaysWhenSomethingWasLeft) {
  FakeDesktop desktop;
  LoadedPasswordFile loaded = parse_password_file(GetParam().bytes, desktop);
  EXPECT_EQ(plain(loaded.entries.passwords), GetParam().passwords);
  EXPECT_EQ(loaded.entries.descriptions, GetParam().descriptions);
  EXPECT_EQ(loaded.entries.passwords.size(), loaded.entries.descriptions.size());
  EXPECT_EQ(loaded.source, GetParam().source);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PasswordFileMalformed,
    ::testing::Values(
        MalformedCase{"empty", "", {}, {}, kWhole},
        MalformedCase{"count_only_zero", "0\r\n", {}, {}, kWhole},
        MalformedCase{"count_not_a_number", "two\r\n\"a\"\r\n\"b\"\r\n", {u"a"}, {u"b"}, kDamaged},
        MalformedCase{"negative_count", "-5\r\n\"a\"\r\n\"b\"\r\n", {u"a"}, {u"b"}, kDamaged},
        MalformedCase{"huge_count", "2147483647\r\n\"a\"\r\n\"b\"\r\n", {u"a"}, {u"b"}, kDamaged},
        MalformedCase{"count_overflows", "99999999999999999999\r\n\"a\"\r\n\"b\"\r\n", {u"a"}, {u"b"}, kDamaged},
        MalformedCase{"count_too_small", "1\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n",
                      {u"a", u"c"}, {u"b", u"d"}, kDamaged},
        MalformedCase{"count_too_large", "9\r\n\"a\"\r\n\"b\"\r\n", {u"a"}, {u"b"}, kDamaged},
        MalformedCase{"unquoted_password", "2\r\na\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n", {u"c"}, {u"d"}, kDamaged},
        MalformedCase{"text_after_quote", "2\r\n\"a\"x\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n", {u"c"}, {u"d"}, kDamaged},
        MalformedCase{"unclosed_quote", "1\r\n\"a\r\n\"b\"\r\n", {}, {}, kDamaged},
        MalformedCase{"extra_empty_lines", "1\r\n\"a\"\r\n\"b\"\r\n\r\n\r\n", {u"a"}, {u"b"}, kWhole},
        MalformedCase{"blank_line_between", "2\r\n\"a\"\r\n\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n",
                      {u"a", u"c"}, {u"b", u"d"}, kWhole},
        MalformedCase{"truncated_last_pair", "2\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n", {u"a"}, {u"b"}, kDamaged},
        MalformedCase{"cut_inside_field", "2\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d", {u"a"}, {u"b"}, kDamaged},
        MalformedCase{"no_final_line_end", "1\r\n\"a\"\r\n\"b\"", {u"a"}, {u"b"}, kWhole},
        MalformedCase{"lf_only_and_blanks", "1\n  \"a\" \n\t\"b\"\n", {u"a"}, {u"b"}, kWhole},
        MalformedCase{"lone_quote_lines", "1\r\n\"\r\n\"\r\n", {}, {}, kDamaged},
        // One description line lost: every later pair shifts by a line and
        // the last field is left over.
        MalformedCase{"missing_description", "3\r\n\"p1\"\r\n\"d1\"\r\n\"p2\"\r\n\"p3\"\r\n\"d3\"\r\n",
                      {u"p1", u"p2"}, {u"d1", u"p3"}, kDamaged},
        MalformedCase{"stray_quote", "2\r\n\"a\"\r\n\"b\"x\"\r\n\"c\"\r\n\"d\"\r\n", {u"c"}, {u"d"}, kDamaged},
        MalformedCase{"no_count_line", "\"a\"\r\n\"b\"\r\n", {}, {}, kDamaged},
        // Written in another code page: the lead byte has no second byte
        // here, so the text read would be saved back as other bytes.
        MalformedCase{"not_this_code_page", "1\r\n\"caf\xE9\"\r\n\"d\"\r\n", {u"caf?"}, {u"d"}, kDamaged}),
    [](const ::testing::TestParamInfo<MalformedCase>& param_info) { return param_info.param.name; });

const std::u16string kBackupPath = u"C:\\Program Files\\mu-quiren\\quiren.pas.bak";

TEST(PasswordFileBackup, WrittenBesideTheFileWhenThereIsNone) {
  FakeDesktop desktop;
  EXPECT_EQ(password_backup_path(u"D:\\"), u"D:\\quiren.pas.bak");
  EXPECT_EQ(keep_original("damaged\r\n", desktop), BackupResult::kept);
  EXPECT_EQ(desktop.files[kBackupPath], "damaged\r\n");
  EXPECT_EQ(desktop.file_writes, std::vector<std::u16string>{kBackupPath});
}

TEST(PasswordFileBackup, AnExistingBackupIsNeverReplaced) {
  struct Case {
    std::string there;
    bool hidden;
    BackupResult result;
  };
  for (const Case& c : {Case{"damaged\r\n", false, BackupResult::kept},
                        Case{"an older original\r\n", false, BackupResult::taken},
                        Case{"damaged\r\n", true, BackupResult::taken}}) {
    FakeDesktop desktop;
    desktop.files[kBackupPath] = c.there;
    if (c.hidden) desktop.hidden_files.insert(kBackupPath);
    EXPECT_EQ(keep_original("damaged\r\n", desktop), c.result) << c.there;
    EXPECT_EQ(desktop.files[kBackupPath], c.there);
  }
}

TEST(PasswordFileBackup, FailedWriteSaysSo) {
  FakeDesktop desktop;
  desktop.file_writes_fail = true;
  EXPECT_EQ(keep_original("damaged\r\n", desktop), BackupResult::failed);
  EXPECT_FALSE(desktop.files.count(kBackupPath));
}

TEST(PasswordFileSave, FailedWriteReportsFalseAndKeepsTheOldFile) {
  FakeDesktop desktop;
  desktop.files[kPath] = "0\r\n";
  desktop.file_writes_fail = true;
  EXPECT_FALSE(save_password_file(entries({u"a"}, {u"b"}), desktop));
  EXPECT_EQ(desktop.files[kPath], "0\r\n");
}

}  // namespace
}  // namespace quiren
