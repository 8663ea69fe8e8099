#include "tray/core/progress_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>


namespace quiren {
namespace {

// Records what the window would show at every change.
struct RecordingView : ProgressView {
  explicit RecordingView(const ProgressForm& form, std::vector<std::u16string>& log) : form_(form), log_(log) {}
  void refresh() override {
    log_.push_back(form_.text() + (form_.shown() ? u" shown" : u"") + (form_.cancelled() ? u" cancelled" : u""));
  }
  const ProgressForm& form_;
  std::vector<std::u16string>& log_;
};

TEST(ProgressForm, SaysWhichBlockOfHowManyAndShowsOnlyOnceTheDelayPassed) {
  ProgressForm form(ProgressForm::Work::decrypting, 5);
  EXPECT_FALSE(form.shown());
  form.start_block(1);
  EXPECT_EQ(form.text(), u"復号しています… (2/5)");
  EXPECT_EQ(form.bar_position(), 1u);
  EXPECT_EQ(form.bar_range(), 5u);
  form.delay_passed();
  EXPECT_TRUE(form.shown());
  form.start_block(9);
  EXPECT_EQ(form.text(), u"復号しています… (5/5)") << "never past the last block";

  ProgressForm encrypting(ProgressForm::Work::encrypting, 1);
  EXPECT_EQ(encrypting.text(), u"暗号化しています…");
  EXPECT_EQ(encrypting.bar_range(), 1u);
  EXPECT_EQ(ProgressForm(ProgressForm::Work::decrypting, 0).bar_range(), 1u) << "a range of nothing is no range";
}

// Once cancelled, the form stays as it was: a late timer shows no window
// for a run that has ended.
TEST(ProgressForm, CancelIsFinalAndTheViewHearsOfEveryChange) {
  std::vector<std::u16string> log;
  ProgressForm form(ProgressForm::Work::decrypting, 3);
  form.attach(std::make_unique<RecordingView>(form, log));
  form.start_block(1);
  form.cancel();
  form.delay_passed();
  form.start_block(2);
  form.cancel();
  EXPECT_EQ(log, (std::vector<std::u16string>{u"復号しています… (1/3)", u"復号しています… (2/3)",
                                              u"復号しています… (2/3) cancelled"}));
  EXPECT_FALSE(form.shown());
}

}  // namespace
}  // namespace quiren
