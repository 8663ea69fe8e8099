#include "tray/flows/clipboard_flows.h"

#include <string>

#include "tray/flows/armoured_block.h"
#include "tray/flows/flow_boxes.h"
#include "tray/flows/flow_messages.h"
#include "tray/program_state.h"
#include "tray/shell/desktop.h"

namespace quiren {
namespace {

// The watch path refuses longer texts; the menu path takes any length.
constexpr std::size_t kWatchTextLimit = 20'480;

}  // namespace

ClipboardFlows::ClipboardFlows(ProgramState& state, Desktop& desktop, CipherLibrary& library,
                               PasswordChooser& chooser, DecryptedTextViewer& viewer)
    : state_(state), desktop_(desktop), library_(library), chooser_(chooser), viewer_(viewer) {}

void ClipboardFlows::clipcheck() {
  if (!desktop_.clipboard_has_text()) return;
  state_.busyflag = kTrue;
  std::u16string text = desktop_.clipboard_text();
  if (text.find(kStartMarker) != std::u16string::npos) {
    hukugoclip();  // clears busyflag when it ends
    return;
  }
  if (state_.settings.quest1 != 0 && ask(desktop_, flow_text::kAskEncrypt) != Answer::yes) {
    state_.busyflag = kFalse;
    return;
  }
  if (text.size() > kWatchTextLimit) {
    tell(desktop_, flow_text::kTextTooLong, Icon::critical);
    state_.busyflag = kFalse;
    return;
  }
  angoclip(text);
  state_.busyflag = kFalse;
}

void ClipboardFlows::mnuango_Click() {
  if (!desktop_.clipboard_has_text()) return;
  if (ask(desktop_, flow_text::kAskEncrypt) != Answer::yes) return;
  state_.busyflag = kTrue;
  std::u16string text = desktop_.clipboard_text();
  angoclip(text);
  state_.busyflag = kFalse;
}

}  // namespace quiren
