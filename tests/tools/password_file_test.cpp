#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "tools/quiren/password_input.h"
#include "tools/quiren/tool_texts.h"

namespace quiren::tool {
namespace {

namespace fs = std::filesystem;

class PasswordFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quiren-password-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir / "locked", fs::perms::owner_all, ignored);
    fs::remove_all(dir, ignored);
  }

  std::string file_with(const std::string& bytes) {
    const fs::path path = dir / ("pw" + std::to_string(++files));
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  // One line: what is wrong, then the file's name as given.
  static void expect_refused(const PasswordRead& read, std::string_view why, const std::string& shown_name) {
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.password.empty());
    EXPECT_EQ(read.problem.rfind(std::string(why) + ": " + shown_name, 0), 0u) << read.problem;
    EXPECT_EQ(read.problem.find('\n'), std::string::npos) << read.problem;
  }

  fs::path dir;
  int files = 0;
};

TEST_F(PasswordFile, FirstLineOfARegularFile) {
  const std::string limit(kPasswordLineLimit, 'a');
  const std::pair<std::string, std::string> cases[] = {
      {"secret\nsecond line is ignored\n", "secret"},
      {"secret\r\nsecond\r\n", "secret"},
      {"secret", "secret"},
      {"secret\r", "secret"},
      {"パスワード\n", "パスワード"},
      {"in\rside\n", "in\rside"},
      {std::string("a\0b\n", 4), std::string("a\0b", 3)},  // the commands refuse the NUL, not the reader
      // An empty file or line gives an empty password: encryption refuses it.
      {"", ""},
      {"\n", ""},
      {"\r\nsecond\n", ""},
      {limit + "\r\n" + "second", limit},
      {limit + "\n", limit},
      {limit, limit},
      {limit + "\r", limit},
      // Notepad's "UTF-8 with BOM": the mark is not part of the password,
      // at the start only, and does not count against the limit.
      {"\xEF\xBB\xBFsecret\r\n", "secret"},
      {"\xEF\xBB\xBFパスワード", "パスワード"},
      {"\xEF\xBB\xBF\r\n", ""},
      {"\xEF\xBB\xBF\xEF\xBB\xBFtwo\n", "\xEF\xBB\xBFtwo"},
      {"mid\xEF\xBB\xBF" "dle\n", "mid\xEF\xBB\xBF" "dle"},
      {"\xEF\xBB\xBF" + limit + "\r\n", limit},
  };
  for (const auto& [content, password] : cases) {
    SCOPED_TRACE(testing::PrintToString(content.substr(0, 40)) + " of " + std::to_string(content.size()));
    PasswordRead read = password_from_file(file_with(content));
    EXPECT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(read.password, password);
  }
}

TEST_F(PasswordFile, FirstLineLongerThanTheLimitIsRefused) {
  const std::string over(kPasswordLineLimit + 1, 'a');
  const std::string cases[] = {
      over,
      over + "\n",
      over + "\r\n",
      over + "\r",
      "\xEF\xBB\xBF" + over + "\r\n",
      std::string(1 << 20, 'b'),  // no line break at all
      std::string(1 << 20, '\0'),
  };
  for (const std::string& content : cases) {
    SCOPED_TRACE(content.size());
    const std::string path = file_with(content);
    expect_refused(password_from_file(path), texts::kPasswordFileLineTooLong, path);
  }
}

TEST_F(PasswordFile, OnlyRegularFilesAreRead) {
  const std::string file = file_with("pw\n");
  const std::string loop = (dir / "loop").string();
  fs::create_symlink(loop, loop);
  struct Case {
    std::string path;
    std::string_view why;
    std::string shown_name;
  };
  const Case cases[] = {
      {(dir / "missing").string(), texts::kPasswordFileMissing, (dir / "missing").string()},
      {file + "/below-a-file", texts::kPasswordFileMissing, file + "/below-a-file"},
      {(dir / "new\nline").string(), texts::kPasswordFileMissing, (dir / "new?line").string()},
      {dir.string(), texts::kPasswordFileNotRegular, dir.string()},
      {"/dev/zero", texts::kPasswordFileNotRegular, "/dev/zero"},
      {"/dev/null", texts::kPasswordFileNotRegular, "/dev/null"},
      {loop, texts::kPasswordFileUnreadable, loop},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    expect_refused(password_from_file(c.path), c.why, c.shown_name);
  }
}

TEST_F(PasswordFile, PipeIsRefusedWithoutWaitingForAWriter) {
  const std::string pipe = (dir / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::future<PasswordRead> reading = std::async(std::launch::async, [&] { return password_from_file(pipe); });
  if (reading.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    // The reader opened the pipe and waits for a writer: give it one that
    // writes nothing, so that the test fails instead of hanging.
    const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    ADD_FAILURE() << "the reader opened the pipe";
  }
  expect_refused(reading.get(), texts::kPasswordFileNotRegular, pipe);
}

TEST_F(PasswordFile, UnreadableFileIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const std::string locked = (dir / "locked").string();
  std::ofstream(locked) << "pw\n";
  fs::permissions(locked, fs::perms::none);
  expect_refused(password_from_file(locked), texts::kPasswordFileUnreadable, locked);
}

}  // namespace
}  // namespace quiren::tool
