#include "tray/flows/clipboard_flows.h"

#include <string>

#include "block/received_text.h"
#include "tray/core/boxes.h"
#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

// The watch path refuses longer texts; the menu path takes any length.
constexpr std::size_t kWatchTextLimit = 20'480;

}  // namespace

ClipboardFlows::ClipboardFlows(ProgramState& state, Desktop& desktop, block::CipherLibrary& library,
                               block::CryptoProvider& crypto, PasswordChooser& chooser, DecryptedTextViewer& viewer)
    : state_(state), desktop_(desktop), library_(library), crypto_(crypto), chooser_(chooser), viewer_(viewer) {}

void ClipboardFlows::clipcheck() {
  if (!desktop_.clipboard_has_text()) return;
  state_.busyflag = kTrue;
  std::u16string text = desktop_.clipboard_text();
  // Also a start marker that a program filled with invisible characters or
  // turned full-width: such a text is a block, not one to encrypt.
  if (block::holds_start_marker(text)) {
    hukugoclip();  // clears busyflag when it ends
    return;
  }
  if (state_.settings.quest1 != 0 && ask(desktop_, flows::texts::kAskEncrypt) != Answer::yes) {
    state_.busyflag = kFalse;
    return;
  }
  if (text.size() > kWatchTextLimit) {
    tell(desktop_, flows::texts::kTextTooLong, Icon::critical);
    state_.busyflag = kFalse;
    return;
  }
  angoclip(text);
  state_.busyflag = kFalse;
}

void ClipboardFlows::mnuango_Click() {
  if (!desktop_.clipboard_has_text()) return;
  if (ask(desktop_, flows::texts::kAskEncrypt) != Answer::yes) return;
  state_.busyflag = kTrue;
  std::u16string text = desktop_.clipboard_text();
  angoclip(text);
  state_.busyflag = kFalse;
}

}  // namespace quiren
