#include "tray/core/progress_form.h"

#include <algorithm>
#include <utility>

#include "block/filled_text.h"
#include "tray/core/shared_texts.h"

namespace quiren {

ProgressForm::ProgressForm(Work work, std::size_t blocks) : work_(work), blocks_(std::max<std::size_t>(blocks, 1)) {}

void ProgressForm::start_block(std::size_t index) {
  if (cancelled_) return;
  index_ = std::min(index, blocks_ - 1);
  changed();
}

void ProgressForm::delay_passed() {
  if (shown_ || cancelled_) return;
  shown_ = true;
  changed();
}

void ProgressForm::cancel() {
  if (cancelled_) return;
  cancelled_ = true;
  changed();
}

std::u16string ProgressForm::text() const {
  if (work_ == Work::encrypting) return std::u16string(core::texts::kProgressEncrypting);
  return block::filled(core::texts::kProgressDecrypting,
                       {{"block", block::decimal(index_ + 1)}, {"blocks", block::decimal(blocks_)}});
}

void ProgressForm::attach(std::unique_ptr<ProgressView> view) {
  view_ = std::move(view);
  changed();
}

void ProgressForm::changed() {
  if (view_) view_->refresh();
}

}  // namespace quiren
