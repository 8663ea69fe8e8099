#include "tray/core/password_prompt_form.h"

#include <gtest/gtest.h>

namespace quiren {
namespace {

using block::SecretText;
using Ok = PasswordPromptForm::Ok;

SecretText secret(std::u16string_view text) { return SecretText(text); }

TEST(PasswordPromptForm, ConfirmationMustMatchWhileThePasswordIsMasked) {
  PasswordPromptForm form({.prompt = u"暗号化に使うパスワードを入力して下さい", .confirm = true});
  EXPECT_EQ(form.title(), u"む～くいれん");
  EXPECT_TRUE(form.asks_confirmation());
  EXPECT_FALSE(form.password_shown());
  EXPECT_TRUE(form.confirmation_enabled());

  EXPECT_EQ(form.ok(secret(u"合言葉"), secret(u"合言業")), Ok::differs);
  EXPECT_FALSE(form.closed()) << "the user types again";
  EXPECT_EQ(form.ok(secret(u"合言葉"), secret(u"")), Ok::differs);
  EXPECT_EQ(form.ok(secret(u"合言葉"), secret(u"合言葉")), Ok::accepted);
  EXPECT_TRUE(form.closed());
  EXPECT_EQ(form.take_answer(), std::u16string_view(u"合言葉"));
  EXPECT_TRUE(form.take_answer().empty()) << "handed over once";
}

TEST(PasswordPromptForm, AShownPasswordNeedsNoRepetition) {
  PasswordPromptForm form({.prompt = u"p", .confirm = true});
  form.show_password(true);
  EXPECT_FALSE(form.confirmation_enabled());
  EXPECT_EQ(form.ok(secret(u"seen"), secret(u"stale text in the disabled field")), Ok::accepted);
  EXPECT_EQ(form.take_answer(), std::u16string_view(u"seen"));

  PasswordPromptForm masked_again({.prompt = u"p", .confirm = true});
  masked_again.show_password(true);
  masked_again.show_password(false);
  EXPECT_TRUE(masked_again.confirmation_enabled());
  EXPECT_EQ(masked_again.ok(secret(u"a"), secret(u"b")), Ok::differs);
}

TEST(PasswordPromptForm, WithoutConfirmationOkTakesTheFieldAndCancelGivesNothing) {
  PasswordPromptForm once({.prompt = u"復号に使うパスワードを入力して下さい", .title = u"t"});
  EXPECT_FALSE(once.confirmation_enabled());
  EXPECT_EQ(once.ok(secret(u"pw"), SecretText()), Ok::accepted);
  EXPECT_EQ(once.take_answer(), std::u16string_view(u"pw"));

  PasswordPromptForm cancelled({.prompt = u"p", .confirm = true});
  cancelled.cancel();
  EXPECT_TRUE(cancelled.closed());
  EXPECT_TRUE(cancelled.take_answer().empty());
}

}  // namespace
}  // namespace quiren
