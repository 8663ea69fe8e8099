#include "block/secret.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace quiren::block {
namespace {

// Every buffer a secret gives back, looked at before it is freed: whether
// its bytes were all zero by then.
struct ReleaseLog {
  std::vector<bool> zeroed;
  int live = 0;
};

template <class Char>
struct LoggingAllocator {
  using value_type = Char;
  ReleaseLog* log = nullptr;

  LoggingAllocator() = default;
  explicit LoggingAllocator(ReleaseLog& l) : log(&l) {}
  template <class Other>
  LoggingAllocator(const LoggingAllocator<Other>& other) : log(other.log) {}

  Char* allocate(std::size_t n) {
    ++log->live;
    return std::allocator<Char>().allocate(n);
  }
  void deallocate(Char* p, std::size_t n) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(p);
    log->zeroed.push_back(std::all_of(bytes, bytes + n * sizeof(Char), [](unsigned char b) { return b == 0; }));
    --log->live;
    std::allocator<Char>().deallocate(p, n);
  }
  friend bool operator==(const LoggingAllocator&, const LoggingAllocator&) = default;
};

using LoggedSecret = Secret<char, LoggingAllocator<char>>;

LoggedSecret holding(ReleaseLog& log, std::string_view text) {
  LoggedSecret secret{LoggingAllocator<char>(log)};
  secret.append(text);
  return secret;
}

TEST(Secret, EveryBufferIsZeroWhenItIsGivenBack) {
  ReleaseLog log;
  {
    LoggedSecret destroyed = holding(log, "a password");
  }
  EXPECT_EQ(log.zeroed, std::vector<bool>{true}) << "destroyed";

  LoggedSecret grown = holding(log, "ab");
  grown.append(std::string(100, 'c'));  // outgrows its first buffer
  EXPECT_EQ(log.zeroed, (std::vector<bool>{true, true})) << "outgrown";

  LoggedSecret assigned_over = holding(log, "old text");
  assigned_over = holding(log, "new text");
  EXPECT_EQ(log.zeroed, (std::vector<bool>{true, true, true})) << "assigned over";
  EXPECT_EQ(assigned_over, std::string_view("new text"));

  grown.clear();
  EXPECT_TRUE(grown.empty());
  EXPECT_EQ(log.zeroed, (std::vector<bool>{true, true, true, true})) << "cleared";

  LoggedSecret shortened = holding(log, "0123456789");
  shortened.resize(3);
  EXPECT_EQ(shortened, std::string_view("012"));
  shortened.resize(5);
  EXPECT_EQ(shortened, std::string_view("012\0\0", 5)) << "what was cut off does not come back";
}

TEST(Secret, AMovedFromSecretHoldsNothingAndTheBufferGoesWithTheMove) {
  ReleaseLog log;
  LoggedSecret first = holding(log, "plain text");
  const char* buffer = first.data();

  LoggedSecret second(std::move(first));
  EXPECT_EQ(second.data(), buffer) << "handed over, not copied";
  EXPECT_EQ(second, std::string_view("plain text"));
  EXPECT_TRUE(first.empty());  // NOLINT(bugprone-use-after-move): what a move leaves is the point
  EXPECT_NE(first.data(), buffer);
  EXPECT_EQ(log.live, 1) << "one buffer in all";

  LoggedSecret third = holding(log, "x");
  third = std::move(second);
  EXPECT_EQ(third.data(), buffer);
  EXPECT_TRUE(second.empty());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(log.zeroed, std::vector<bool>{true}) << "the one assigned over";

  {
    LoggedSecret last(std::move(third));
  }
  EXPECT_EQ(log.live, 0);
  EXPECT_EQ(log.zeroed, (std::vector<bool>{true, true}));
}

TEST(Secret, TakingAStringWipesIt) {
  std::u16string typed = u"a password long enough to live outside the string object";
  const SecretText secret(std::move(typed));
  EXPECT_EQ(secret, std::u16string_view(u"a password long enough to live outside the string object"));
  EXPECT_TRUE(typed.empty());  // NOLINT(bugprone-use-after-move): taken, then wiped

  const SecretText twin = secret.copy();
  EXPECT_EQ(twin, secret);
  EXPECT_NE(twin.data(), secret.data());
}

}  // namespace
}  // namespace quiren::block
