// What counts as the shared table file: only a regular file of bounded size.
// The FIFO and the terminal below have a writer and hold a valid table ready
// to be read, so a reader that opened them would block neither in open nor
// in read: it would return the table and fail the test instead of hanging
// it. The test reads each of them once only: a second read would find them
// empty with the writer still there, and wait.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cipher/code_table.h"
#include "cipher/compression.h"
#include "tests/cipher/cipher_test_support.h"

namespace quiren::cipher {
namespace {

using testing::bytes_of;
using testing::record;
using testing::string_of;

const CodeTable kTable = {record("a", "0"), record("b", "10"), record("ab", "11")};
constexpr std::string_view kText = "abababababababababababababababab";

class SharedTableFile : public ::testing::Test {
 protected:
  ~SharedTableFile() override {
    for (const int fd : fds_) ::close(fd);
  }

  void write_table_padded_to(std::uint64_t file_size) {
    cwd.write(kSharedTableFileName, serialize_code_table(kTable));
    // Sparse: no 16 MiB written to disk.
    std::filesystem::resize_file(kSharedTableFileName, file_size);
  }

  // A FIFO holding the serialized table, kept open for writing by the test.
  void make_fifo_with_table(const std::string& name) {
    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    // Read-write never blocks on Linux and leaves a writer in place.
    const int fd = ::open(name.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    fds_.push_back(fd);
    write_all(fd);
  }

  // A pseudo-terminal in raw mode with the table waiting to be read; the
  // shared table name is a link to it. Skips where no terminals can be made.
  void make_terminal_with_table() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminals";
    fds_.push_back(master);
    const char* const name = ::ptsname(master);
    ASSERT_NE(name, nullptr);
    const std::string slave_name = name;
    const int slave = ::open(slave_name.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    fds_.push_back(slave);
    termios raw{};
    ASSERT_EQ(::tcgetattr(slave, &raw), 0);
    ::cfmakeraw(&raw);
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &raw), 0);
    write_all(master);
    std::filesystem::create_symlink(slave_name, kSharedTableFileName);
  }

  // The table comes back from the file, and compression uses it: the block
  // is the shared-table kind and expands back.
  void expect_table_used() {
    const auto table = read_shared_table(kSharedTableFileName);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->size(), kTable.size());
    const auto block = compress(bytes_of(kText), kSharedTableFileName);
    ASSERT_TRUE(block.has_value());
    EXPECT_NE(read_u32le(*block, 0), kSelfContainedTag);
    EXPECT_EQ(string_of(expand(*block, kSharedTableFileName)), kText);
  }

  void expect_missing() { EXPECT_FALSE(read_shared_table(kSharedTableFileName).has_value()); }

  testing::TempCurrentDirectory cwd;

 private:
  void write_all(int fd) {
    const std::vector<std::uint8_t> bytes = serialize_code_table(kTable);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  std::vector<int> fds_;
};

TEST_F(SharedTableFile, RegularFileAtTheLimitIsUsed) {
  // The bytes after the table are not part of it.
  write_table_padded_to(kMaxSharedTableFileBytes);
  expect_table_used();
}

TEST_F(SharedTableFile, FileOverTheLimitIsMissing) {
  write_table_padded_to(kMaxSharedTableFileBytes + 1);
  expect_missing();
  // Compression goes on with the self-contained block.
  const auto block = compress(bytes_of(kText), kSharedTableFileName);
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(read_u32le(*block, 0), kSelfContainedTag);
  EXPECT_EQ(string_of(expand(*block, kSharedTableFileName)), kText);
}

TEST_F(SharedTableFile, AnythingButARegularFileIsMissing) {
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"FIFO", [this] { make_fifo_with_table(kSharedTableFileName); }},
      {"link to a FIFO",
       [this] {
         make_fifo_with_table("table.fifo");
         std::filesystem::create_symlink("table.fifo", kSharedTableFileName);
       }},
      {"folder", [] { std::filesystem::create_directory(kSharedTableFileName); }},
  };
  for (const auto& [what, make] : cases) {
    SCOPED_TRACE(what);
    make();
    if (HasFatalFailure()) return;
    expect_missing();
    std::filesystem::remove_all(kSharedTableFileName);
    std::filesystem::remove("table.fifo");
  }
}

// Stands for /dev/urandom and the like, which a reader would read for as
// long as their first bytes claim.
TEST_F(SharedTableFile, LinkToACharacterDeviceIsMissing) {
  make_terminal_with_table();
  if (IsSkipped() || HasFatalFailure()) return;
  expect_missing();
}

}  // namespace
}  // namespace quiren::cipher
