#include "tray/shell/about_form.h"

#include "tray/shell/shell_texts.h"

namespace quiren {

AboutForm::AboutForm(ProgramState& state) : lblTitle(shell::texts::kAboutDesignedTitle), state_(state) {}

void AboutForm::Form_Load() {
  state_.busyflag = kTrue;
  lblTitle = state_.versiontext;
}

void AboutForm::Form_Unload() { state_.busyflag = kFalse; }

}  // namespace quiren
