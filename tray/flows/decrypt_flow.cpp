// The decrypt flow: every block on the clipboard, one password, results in
// the viewer.
#include <exception>
#include <optional>
#include <string>

#include "block/armoured_block.h"
#include "block/block_decrypt.h"
#include "block/line_breaks.h"
#include "block/received_text.h"
#include "tray/core/boxes.h"
#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/desktop.h"
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"
#include "tray/flows/busy_library.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

// Thrown inside the flow for the failures that take its catch-all path.
struct InvalidCiphertext {};

std::optional<std::u16string> decrypt_password(ProgramState& state, Desktop& desktop,
                                               PasswordChooser& chooser) {
  std::u16string password;
  if (state.settings.usepasslist2 != kFalse) {
    chooser.choosepass();
    password = state.selectpass;
    if (password.empty()) password = desktop.input_prompt(flows::texts::kPromptDecryptPassword);
  } else if (state.settings.hukugo != kFalse) {
    // Stored passwords are used as they are, also when empty: a block made
    // under an empty password must stay readable.
    return desktop.read_setting(settings::kHukugopass).value_or(u"");
  } else if (state.settings.equalpass != kFalse) {
    return desktop.read_setting(settings::kAngopass).value_or(u"");
  } else {
    password = desktop.input_prompt(flows::texts::kPromptDecryptPassword);
  }
  if (password.empty()) {
    tell(desktop, flows::texts::kNoPasswordAfterChooser, Icon::exclamation);
    return std::nullopt;
  }
  return password;
}

}  // namespace

void ClipboardFlows::hukugoclip() {
  BusyLibrary library(state_, library_);
  try {
    // Blocks come back quoted, re-wrapped or with changed line breaks.
    std::u16string text = block::repair_received_text(desktop_.clipboard_text());
    if (!block::has_block(text)) {
      state_.busyflag = kFalse;
      return;
    }
    if (state_.settings.quest2 == 1 && ask(desktop_, flows::texts::kAskDecrypt) != Answer::yes) {
      state_.busyflag = kFalse;
      return;
    }

    std::optional<std::string> password_bytes;
    bool first = true;
    for (const block::BlockItem& item : block::read_blocks(text)) {
      if (item.problem == block::BlockProblem::unknown_mode_letter) {
        tell(desktop_, flows::texts::kUnknownVersion, Icon::critical, true);
        break;
      }
      if (item.problem == block::BlockProblem::no_separator) throw InvalidCiphertext{};

      if (first) {
        std::optional<std::u16string> password = decrypt_password(state_, desktop_, chooser_);
        if (!password) break;
        // A character the code page cannot hold becomes "?", as it did when
        // such a block was made; the check then decides.
        password_bytes = desktop_.to_ansi(*password).bytes;
      }

      block::BlockOutcome outcome = block::decrypt_block(item, *password_bytes, library);
      std::u16string piece;
      switch (outcome.kind) {
        case block::BlockOutcomeKind::plain_text:
          piece = block::crlf_line_breaks(desktop_.from_ansi(outcome.text));
          break;
        case block::BlockOutcomeKind::wrong_password:
          piece = flows::texts::kWrongPassword;
          break;
        default:
          throw InvalidCiphertext{};
      }

      if (first) {
        viewer_.show();
        viewer_.set_text(piece);
        first = false;
      } else {
        std::u16string shown = viewer_.text();
        shown += block::kResultJoint;
        shown += piece;
        viewer_.set_text(shown);
      }
    }
  } catch (...) {
    // Anything that goes wrong while taking a block apart or filling the
    // viewer: one message, no half-filled viewer.
    tell(desktop_, flows::texts::kInvalidCiphertext, Icon::critical, true);
    viewer_.close();
  }
  state_.busyflag = kFalse;
}

}  // namespace quiren
