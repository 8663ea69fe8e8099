#include "tray/core/prompt_form.h"

#include <utility>

#include "block/secure_wipe.h"

namespace quiren {

// The answer is often a password.
PromptForm::~PromptForm() { block::wipe(answer_); }

void PromptForm::ok(std::u16string typed) {
  if (closed_) {
    block::wipe(typed);
    return;
  }
  answer_ = std::move(typed);
  closed_ = true;
}

void PromptForm::cancel() { closed_ = true; }

std::u16string PromptForm::take_answer() {
  std::u16string answer = answer_;
  block::wipe(answer_);
  return answer;
}

}  // namespace quiren
