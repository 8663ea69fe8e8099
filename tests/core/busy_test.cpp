#include "tray/core/busy.h"

#include <gtest/gtest.h>

#include <utility>

namespace quiren {
namespace {

TEST(Busy, HoldsNestAndEachGivesBackOnlyItsOwn) {
  Busy busy;
  EXPECT_TRUE(busy.idle());
  {
    const Busy::Token editor = busy.hold();
    {
      const Busy::Token about = busy.hold();
      EXPECT_FALSE(busy.idle());
    }
    EXPECT_FALSE(busy.idle()) << "the about window closing leaves the editor's hold";
    EXPECT_FALSE(busy.flow_running()) << "a window is no flow: the menu may start one";
  }
  EXPECT_TRUE(busy.idle());
}

TEST(Busy, NoFlowStartsWhileOneRuns) {
  Busy busy;
  Busy::Token first = busy.start_flow();
  ASSERT_TRUE(first);
  EXPECT_TRUE(busy.flow_running());
  {
    const Busy::Token second = busy.start_flow();
    EXPECT_FALSE(second);
  }
  EXPECT_TRUE(busy.flow_running()) << "the refused start ended nothing";
  first.release();
  EXPECT_TRUE(busy.idle());
  EXPECT_TRUE(busy.start_flow()) << "the next may start";
}

TEST(Busy, AMovedTokenHoldsOnceAndGivesBackOnce) {
  Busy busy;
  Busy::Token outer;
  {
    Busy::Token inner = busy.hold();
    outer = std::move(inner);
  }
  EXPECT_FALSE(busy.idle()) << "the hold went with the move";
  Busy::Token other = busy.hold();
  other = std::move(outer);  // the hold assigned over is given back
  EXPECT_FALSE(busy.idle());
  other.release();
  other.release();
  EXPECT_TRUE(busy.idle());
}

}  // namespace
}  // namespace quiren
