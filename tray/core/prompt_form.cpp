#include "tray/core/prompt_form.h"

#include <utility>

namespace quiren {

void PromptForm::ok(std::u16string typed) {
  if (closed_) return;
  answer_ = std::move(typed);
  closed_ = true;
}

void PromptForm::cancel() { closed_ = true; }

std::u16string PromptForm::take_answer() { return std::exchange(answer_, std::u16string()); }

}  // namespace quiren
