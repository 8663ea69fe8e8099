#include "tray/shell/about_form.h"

#include "tray/shell/shell_texts.h"

namespace quiren {

AboutForm::AboutForm(ProgramState& state) : lblTitle(shell::texts::kAboutDesignedTitle), state_(state) {}

void AboutForm::Form_Load() {
  open_ = state_.busy.hold();
  lblTitle = state_.versiontext;
}

void AboutForm::Form_Unload() { open_.release(); }

}  // namespace quiren
