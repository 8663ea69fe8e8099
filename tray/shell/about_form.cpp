#include "tray/shell/about_form.h"

#include "tray/shell/shell_texts.h"

namespace quiren {

AboutForm::AboutForm(ProgramState& state) : title(shell::texts::kAboutDesignedTitle), state_(state) {}

void AboutForm::open() {
  open_ = state_.busy.hold();
  title = state_.version_text;
}

void AboutForm::close() { open_.release(); }

}  // namespace quiren
