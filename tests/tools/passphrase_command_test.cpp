#include "tools/quiren/passphrase_command.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_random.h"
#include "tools/quiren/tool_texts.h"

namespace quiren::tool {
namespace {

using testing::ScriptedRandom;

TEST(PassphraseCommand, WritesOneLineOfUtf8) {
  ScriptedRandom latin{0, 6639, 7775, 62207, 62208, 1, 2};
  const CommandResult made = passphrase_command(block::PassphraseForm::latin, latin);
  EXPECT_EQ(made.exit_code, kExitDone);
  EXPECT_EQ(made.output, "abacus-t-shirt-zoom-zoom-abdomen-abdominal\n");
  EXPECT_TRUE(made.message.empty());

  ScriptedRandom kana{0, 0, 0, 0, 0, 0, 2047};
  EXPECT_EQ(passphrase_command(block::PassphraseForm::kana, kana).output,
            "あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　われる\n");
}

TEST(PassphraseCommand, AFailingRandomSourceWritesNothing) {
  ScriptedRandom runs_out{1, 2, 3};
  const CommandResult made = passphrase_command(block::PassphraseForm::latin, runs_out);
  EXPECT_EQ(made.exit_code, kExitBadInput);
  EXPECT_EQ(made.output, "");
  EXPECT_EQ(made.message, texts::kPassphraseRandomUnavailable);
}

}  // namespace
}  // namespace quiren::tool
