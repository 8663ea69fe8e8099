// The messages that name a limit take it from the rule; with the rules as
// they are, they read word for word as they always did.
#include <gtest/gtest.h>

#include <string_view>

#include "tray/core/shared_texts.h"
#include "tray/flows/flow_texts.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

TEST(LimitTexts, ReadAsBefore) {
  EXPECT_EQ(core::texts::kPasswordTooLong, u"30文字以上のパスワードは利用できません。");
  EXPECT_EQ(core::texts::kStrongPasswordTooLong, u"128文字以上のパスワードは利用できません。");
  EXPECT_EQ(core::texts::password_too_long(false), core::texts::kPasswordTooLong);
  EXPECT_EQ(core::texts::password_too_long(true), core::texts::kStrongPasswordTooLong);
  EXPECT_EQ(shell::texts::kBadWrapWidth, u"折り返し文字数は10文字以上100字以内で設定してください");
  EXPECT_EQ(flows::texts::kTextTooLongToEncrypt, u"この文章は64MBを超えていて長すぎるため、暗号化できません。");
}

}  // namespace
}  // namespace quiren
