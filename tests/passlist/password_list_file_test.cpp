#include "tray/passlist/password_list_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/fake_desktop.h"
#include "tests/support/secret_texts.h"
#include "tray/passlist/protected_list_file.h"

namespace quiren {
namespace {

using testing::FakeDesktop;
using testing::plain;
using testing::u16;
using testing::utf8;

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
  ASSERT_EQ(save_password_file(list, desktop, PasswordFileForm::plain), SaveResult::saved);
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

TEST(PasswordFileSave, AFailedWriteOrSealKeepsTheOldFile) {
  for (const bool seal_fails : {false, true}) {
    SCOPED_TRACE(seal_fails);
    FakeDesktop desktop;
    desktop.files[kPath] = "0\r\n";
    desktop.file_writes_fail = !seal_fails;
    desktop.protection_fails = seal_fails;
    EXPECT_EQ(save_password_file(entries({u"a"}, {u"b"}), desktop, PasswordFileForm::sealed),
              seal_fails ? SaveResult::not_sealed : SaveResult::failed);
    EXPECT_EQ(desktop.files[kPath], "0\r\n");
  }
}

// Sealed for the Windows user: the marker line, then base64 lines of at
// most 76 characters, CR LF after each; no password or description shows
// in it in any encoding, and it reads back as the plain file does.
TEST(SealedPasswordFile, StartsWithTheMarkerHoldsNothingReadableAndReadsBack) {
  FakeDesktop desktop;
  PasswordEntries list = entries({u16("日本語のパスワード"), u"plain-secret"}, {u16("説明"), u"about it"});
  ASSERT_EQ(save_password_file(list, desktop, PasswordFileForm::sealed), SaveResult::saved);
  const std::string file = desktop.files[kPath];
  ASSERT_TRUE(file.starts_with("#mu-quiren protected password list 1\r\n"));
  ASSERT_TRUE(file.ends_with("\r\n"));
  std::size_t at = file.find("\r\n") + 2;
  while (at < file.size()) {
    const std::size_t end = file.find("\r\n", at);
    EXPECT_LE(end - at, 76u);
    EXPECT_EQ(file.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/", at), end);
    at = end + 2;
  }
  for (const std::u16string& text : {u16("パスワード"), std::u16string(u"plain-secret"), std::u16string(u"about")}) {
    EXPECT_EQ(file.find(utf8(text)), std::string::npos);
    EXPECT_EQ(file.find(desktop.to_ansi(text).bytes), std::string::npos);
    EXPECT_EQ(file.find(std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)), std::string::npos);
  }
  const LoadedPasswordFile loaded = load_password_file(desktop);
  EXPECT_EQ(loaded.source, PasswordFileSource::whole);
  EXPECT_EQ(loaded.form, PasswordFileForm::sealed);
  EXPECT_EQ(plain(loaded.entries.passwords), plain(list.passwords));
  EXPECT_EQ(loaded.entries.descriptions, list.descriptions);
}

// A sealed file that cannot be unprotected here (another Windows user's,
// or damaged) reads as locked: nothing listed, nothing kept to save over it.
TEST(SealedPasswordFile, OneThatCannotBeUnprotectedIsLocked) {
  FakeDesktop desktop;
  ASSERT_EQ(save_password_file(entries({u"a"}, {u"b"}), desktop, PasswordFileForm::sealed), SaveResult::saved);
  const std::string sealed = desktop.files[kPath];
  const struct {
    const char* name;
    std::u16string_view user;
    std::string file;
  } cases[] = {
      {"another Windows user", u"hanako", sealed},
      {"a character that is not base64", u"taro", sealed.substr(0, sealed.size() - 4) + "*\r\n"},
      {"the marker alone", u"taro", "#mu-quiren protected password list 1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.windows_user = c.user;
    desktop.files[kPath] = c.file;
    const LoadedPasswordFile loaded = load_password_file(desktop);
    EXPECT_EQ(loaded.source, PasswordFileSource::locked);
    EXPECT_TRUE(loaded.entries.passwords.empty());
    EXPECT_TRUE(loaded.original.empty());
  }
}

// Sealed and unsealed by the settings' box: the plain bytes come back
// exactly, a damaged file's too, so nothing is lost either way; a file in
// the form asked for, or none, is not written.
TEST(PasswordFileRewrite, EachWayKeepsThePlainBytesExactly) {
  const std::string damaged = "2\r\n\"a\"\r\n\"b\"\r\nstray line\r\n";
  for (const std::string& plain_file : {std::string("1\r\n\"a\"\r\n\"b\"\r\n"), damaged}) {
    FakeDesktop desktop;
    desktop.files[kPath] = plain_file;
    EXPECT_EQ(rewrite_password_file(desktop, PasswordFileForm::plain), ListRewrite::done);
    EXPECT_TRUE(desktop.file_writes.empty()) << "already plain";
    EXPECT_EQ(rewrite_password_file(desktop, PasswordFileForm::sealed), ListRewrite::done);
    EXPECT_TRUE(is_protected_list_file(desktop.files[kPath]));
    EXPECT_EQ(load_password_file(desktop).source, plain_file == damaged ? PasswordFileSource::damaged
                                                                        : PasswordFileSource::whole);
    EXPECT_EQ(rewrite_password_file(desktop, PasswordFileForm::sealed), ListRewrite::done);
    EXPECT_EQ(desktop.file_writes.size(), 1u) << "already sealed";
    EXPECT_EQ(rewrite_password_file(desktop, PasswordFileForm::plain), ListRewrite::done);
    EXPECT_EQ(desktop.files[kPath], plain_file);
  }
  FakeDesktop none;
  EXPECT_EQ(rewrite_password_file(none, PasswordFileForm::sealed), ListRewrite::done);
  EXPECT_TRUE(none.files.empty());
}

// What is left as it is: another user's sealed file, a file that cannot be
// read or is hidden, and any file when sealing or replacing fails.
TEST(PasswordFileRewrite, WhatCannotBeRewrittenIsLeftAsItIs) {
  FakeDesktop desktop;
  desktop.files[kPath] = "1\r\n\"a\"\r\n\"b\"\r\n";
  ASSERT_EQ(rewrite_password_file(desktop, PasswordFileForm::sealed), ListRewrite::done);
  const std::string sealed = desktop.files[kPath];
  const struct {
    const char* name;
    std::string file;
    PasswordFileForm asked;
    std::function<void(FakeDesktop&)> stage;
    ListRewrite expected;
  } cases[] = {
      {"another user's", sealed, PasswordFileForm::plain, [](FakeDesktop& d) { d.windows_user = u"hanako"; },
       ListRewrite::unreadable},
      {"held open", sealed, PasswordFileForm::plain, [](FakeDesktop& d) { d.unreadable_files.insert(kPath); },
       ListRewrite::not_written},
      {"hidden", "0\r\n", PasswordFileForm::sealed, [](FakeDesktop& d) { d.hidden_files.insert(kPath); },
       ListRewrite::not_written},
      {"no seal", "0\r\n", PasswordFileForm::sealed, [](FakeDesktop& d) { d.protection_fails = true; },
       ListRewrite::not_written},
      {"no write", "0\r\n", PasswordFileForm::sealed, [](FakeDesktop& d) { d.file_writes_fail = true; },
       ListRewrite::not_written},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop staged;
    staged.files[kPath] = c.file;
    c.stage(staged);
    EXPECT_EQ(rewrite_password_file(staged, c.asked), c.expected);
    EXPECT_EQ(staged.files[kPath], c.file);
  }
}

}  // namespace
}  // namespace quiren
