#include "tools/quiren/cli_options.h"

#include <gtest/gtest.h>

namespace quiren::tool {
namespace {

TEST(CliOptions, GoodCommandLines) {
  Options o = parse_options({"encrypt", "-w", "10", "--password-file", "pw", "--codepage", "1252"});
  EXPECT_TRUE(o.problem.empty()) << o.problem;
  EXPECT_EQ(o.command, Command::encrypt);
  EXPECT_EQ(o.width, 10);
  EXPECT_EQ(o.password_file, "pw");
  EXPECT_EQ(o.code_page, 1252u);

  Options d = parse_options({"decrypt"});
  EXPECT_EQ(d.command, Command::decrypt);
  EXPECT_EQ(d.code_page, 932u);
  EXPECT_EQ(parse_options({"encrypt"}).width, 60);
  EXPECT_EQ(parse_options({"decrypt", "--help"}).command, Command::help);
  EXPECT_FALSE(d.no_limit);
  EXPECT_TRUE(parse_options({"decrypt", "--no-limit"}).no_limit);
  EXPECT_FALSE(d.strong_only);
  EXPECT_TRUE(parse_options({"decrypt", "--strong-only"}).strong_only);

  Options latin = parse_options({"passphrase"});
  EXPECT_TRUE(latin.problem.empty()) << latin.problem;
  EXPECT_EQ(latin.command, Command::passphrase);
  EXPECT_FALSE(latin.kana);
  EXPECT_TRUE(parse_options({"--kana", "passphrase"}).kana);
}

TEST(CliOptions, CommandsOfKeys) {
  Options made = parse_options({"key", "new", "--name", "山田", "--out", "me.key", "--no-passphrase", "-w", "40"});
  EXPECT_TRUE(made.problem.empty()) << made.problem;
  EXPECT_EQ(made.command, Command::key_new);
  EXPECT_EQ(made.name, "山田");
  EXPECT_EQ(made.out_file, "me.key");
  EXPECT_TRUE(made.no_passphrase);
  EXPECT_EQ(made.width, 40);
  EXPECT_FALSE(parse_options({"key", "new", "--out", "me.key"}).name) << "the login name unless given";
  EXPECT_EQ(parse_options({"key", "new", "--out", "k", "--password-file", "p"}).password_file, "p");

  Options shown = parse_options({"key", "show", "--key", "me.key", "--key-passphrase-file", "pp"});
  EXPECT_TRUE(shown.problem.empty()) << shown.problem;
  EXPECT_EQ(shown.command, Command::key_show);
  EXPECT_EQ(shown.key_file, "me.key");
  EXPECT_EQ(shown.key_passphrase_file, "pp");
  EXPECT_EQ(parse_options({"key", "digits"}).command, Command::key_digits);

  Options to = parse_options({"encrypt", "--key", "me.key", "--to", "a.txt", "--to", "b.txt", "-w", "76"});
  EXPECT_TRUE(to.problem.empty()) << to.problem;
  EXPECT_EQ(to.to_files, (std::vector<std::string>{"a.txt", "b.txt"}));
  Options mine = parse_options({"decrypt", "--key", "me.key", "--password-file", "pw", "--no-limit"});
  EXPECT_TRUE(mine.problem.empty()) << mine.problem;
  EXPECT_EQ(mine.key_file, "me.key");
}

TEST(CliOptions, BadCommandLinesAreRefused) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"encrypt", "-w", "9"},
      {"encrypt", "-w", "101"},
      {"encrypt", "-w", "6O"},
      {"encrypt", "-w"},
      {"encrypt", "--password", "secret"},
      {"encrypt", "--password=secret"},
      {"decrypt", "-w", "20"},
      {"encrypt", "decrypt"},
      {"encrypt", "--codepage", "cp932"},
      {"encrypt", "--password-file"},
      {"encrypt", "--no-limit"},
      {"encrypt", "--strong-only"},
      {"sign"},
      {"encrypt", "--kana"},
      {"decrypt", "--kana"},
      {"passphrase", "encrypt"},
      {"passphrase", "-w", "20"},
      {"passphrase", "--compatible"},
      {"passphrase", "--codepage", "932"},
      {"passphrase", "--password-file", "pw"},
      {"passphrase", "--no-limit"},
      {"key"},
      {"key", "burn"},
      {"key", "new"},
      {"key", "new", "--out"},
      {"key", "new", "--out", "k", "--no-passphrase", "--password-file", "p"},
      {"key", "new", "--out", "k", "--key", "other"},
      {"key", "new", "--out", "k", "--codepage", "932"},
      {"key", "show"},
      {"key", "show", "--key", "k", "--password-file", "p"},
      {"key", "show", "--key", "k", "--out", "o"},
      {"key", "digits", "--name", "x"},
      {"key", "digits", "-w", "20"},
      {"key", "digits", "--key", "k"},
      {"encrypt", "--to", "a"},
      {"encrypt", "--key", "k"},
      {"encrypt", "--key", "k", "--to", "a", "--compatible"},
      {"encrypt", "--key", "k", "--to", "a", "--password-file", "p"},
      {"encrypt", "--key-passphrase-file", "p"},
      {"decrypt", "--to", "a"},
      {"decrypt", "--name", "a"},
      {"decrypt", "--no-passphrase"},
      {"passphrase", "--key", "k"},
      {"key", "new", "encrypt", "--out", "k"},
      {"passphrase", "--strong-only"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    EXPECT_FALSE(parse_options(args).problem.empty());
  }
}

}  // namespace
}  // namespace quiren::tool
