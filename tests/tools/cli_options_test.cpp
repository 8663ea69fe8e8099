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
