#include "tray/core/prompt_form.h"

#include <gtest/gtest.h>

namespace quiren {
namespace {

TEST(PromptForm, OkGivesTheTypedTextOnceAndAnythingElseGivesNothing) {
  PromptForm typed(u"パスワードを入力して下さい", u"む～くいれん");
  EXPECT_EQ(typed.prompt(), u"パスワードを入力して下さい");
  EXPECT_EQ(typed.title(), u"む～くいれん");
  EXPECT_FALSE(typed.closed());
  typed.ok(u"secret");
  typed.ok(u"a second OK changes nothing");
  EXPECT_TRUE(typed.closed());
  EXPECT_EQ(typed.take_answer(), u"secret");
  EXPECT_EQ(typed.take_answer(), u"") << "handed over once";

  PromptForm cancelled(u"p", u"t");
  cancelled.cancel();
  EXPECT_TRUE(cancelled.closed());
  EXPECT_EQ(cancelled.take_answer(), u"");
}

}  // namespace
}  // namespace quiren
