#include "block/owned_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace quiren::block {
namespace {

// A kind whose "nothing" is -1 (as a file's is), so 0 is a real handle,
// and whose close fails for handle 13: every close is logged.
struct LoggedKind {
  using Handle = int;
  static inline std::vector<int> closed;
  static Handle invalid() { return -1; }
  static bool close(Handle handle) {
    closed.push_back(handle);
    return handle != 13;
  }
};
using Owned = OwnedHandle<LoggedKind>;

class OwnedHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { LoggedKind::closed.clear(); }
  const std::vector<int>& closed() const { return LoggedKind::closed; }
};

TEST_F(OwnedHandleTest, HoldsNothingAsItsKindSaysAndClosesNothingThen) {
  {
    Owned none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), -1);
    EXPECT_TRUE(none.close());  // nothing to give back is no failure
    Owned zero(0);
    EXPECT_TRUE(zero) << "0 is a handle for a kind whose nothing is -1";
  }
  EXPECT_EQ(closed(), std::vector<int>{0});
}

TEST_F(OwnedHandleTest, AFailingCloseIsReportedAndTheHandleIsNotHeldAfter) {
  {
    Owned file(13);
    EXPECT_FALSE(file.close());
    EXPECT_FALSE(file);
    EXPECT_TRUE(file.close()) << "a second close has nothing to give back";
  }
  EXPECT_EQ(closed(), std::vector<int>{13}) << "closed once, not again by the destructor";

  Owned fine(7);
  EXPECT_TRUE(fine.close());
  EXPECT_EQ(closed(), (std::vector<int>{13, 7}));
}

TEST_F(OwnedHandleTest, EachHandleIsClosedExactlyOnceWhateverWayItGoes) {
  {
    Owned a(1);
    Owned b(std::move(a));  // a holds nothing now
    EXPECT_FALSE(a);
    Owned c(2);
    c = std::move(b);  // 2 goes, 1 moves in
    EXPECT_EQ(closed(), std::vector<int>{2});
    c.reset(3);  // 1 goes
    Owned d(4);
    EXPECT_EQ(d.release(), 4);  // someone else's now: never closed here
    EXPECT_FALSE(d);
    // A failing close through reset still lets go of the old handle.
    Owned e(13);
    e.reset(5);
  }
  EXPECT_EQ(closed(), (std::vector<int>{2, 1, 13, 5, 3}));
}

}  // namespace
}  // namespace quiren::block
