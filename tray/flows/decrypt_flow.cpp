// The decrypt flow: every block on the clipboard, one password, results in
// the viewer.
#include <exception>
#include <optional>
#include <string>

#include "tray/flows/armoured_block.h"
#include "tray/flows/block_decrypt.h"
#include "tray/flows/busy_library.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/decrypted_text_viewer.h"
#include "tray/flows/flow_boxes.h"
#include "tray/flows/flow_messages.h"
#include "tray/passlist/password_chooser.h"
#include "tray/program_state.h"
#include "tray/shell/desktop.h"
#include "tray/shell/settings_keys.h"

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
    if (password.empty()) password = desktop.input_prompt(flow_text::kPromptDecryptPassword);
  } else if (state.settings.hukugo != kFalse) {
    // Stored passwords are used as they are, also when empty: a block made
    // under an empty password must stay readable.
    return desktop.read_setting(settings::kHukugopass).value_or(u"");
  } else if (state.settings.equalpass != kFalse) {
    return desktop.read_setting(settings::kAngopass).value_or(u"");
  } else {
    password = desktop.input_prompt(flow_text::kPromptDecryptPassword);
  }
  if (password.empty()) {
    tell(desktop, flow_text::kNoPasswordAfterChooser, Icon::exclamation);
    return std::nullopt;
  }
  return password;
}

// Bare CR or LF (a text that came from elsewhere) would not break the
// viewer's lines.
std::u16string with_crlf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r') {
      out += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      out += u"\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

void ClipboardFlows::hukugoclip() {
  BusyLibrary library(state_, library_);
  try {
    std::u16string text = desktop_.clipboard_text();
    if (!has_block(text)) {
      state_.busyflag = kFalse;
      return;
    }
    if (state_.settings.quest2 == 1 && ask(desktop_, flow_text::kAskDecrypt) != Answer::yes) {
      state_.busyflag = kFalse;
      return;
    }

    std::optional<std::string> password_bytes;
    bool first = true;
    for (const BlockItem& item : read_blocks(text)) {
      if (item.problem == BlockProblem::unknown_mode_letter) {
        tell(desktop_, flow_text::kUnknownVersion, Icon::critical, true);
        break;
      }
      if (item.problem == BlockProblem::no_separator) throw InvalidCiphertext{};

      if (first) {
        std::optional<std::u16string> password = decrypt_password(state_, desktop_, chooser_);
        if (!password) break;
        // A character the code page cannot hold becomes "?", as it did when
        // such a block was made; the check then decides.
        password_bytes = desktop_.to_ansi(*password).bytes;
      }

      BlockOutcome outcome = decrypt_block(item, *password_bytes, library);
      std::u16string piece;
      switch (outcome.kind) {
        case BlockOutcomeKind::plain_text:
          piece = with_crlf(desktop_.from_ansi(outcome.text));
          break;
        case BlockOutcomeKind::wrong_password:
          piece = flow_text::kWrongPassword;
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
        shown += kResultJoint;
        shown += piece;
        viewer_.set_text(shown);
      }
    }
  } catch (...) {
    // Anything that goes wrong while taking a block apart or filling the
    // viewer: one message, no half-filled viewer.
    tell(desktop_, flow_text::kInvalidCiphertext, Icon::critical, true);
    viewer_.close();
  }
  state_.busyflag = kFalse;
}

}  // namespace quiren
