// The clipboard cipher flows, called by the main window: the clipboard
// watch calls clipcheck() while busyflag is 0, the tray menu's encrypt
// command calls mnuango_Click() and its decrypt command hukugoclip().
#pragma once

#include <string_view>

#include "tray/core/cipher_commands.h"

namespace quiren {

namespace block {
class CipherLibrary;
}
class DecryptedTextViewer;
class Desktop;
class PasswordChooser;
struct ProgramState;

class ClipboardFlows : public CipherCommands {
 public:
  ClipboardFlows(ProgramState& state, Desktop& desktop, block::CipherLibrary& library,
                 PasswordChooser& chooser, DecryptedTextViewer& viewer);

  // The watch path: a text holding a block goes to the decrypt flow; any
  // other text is offered for encryption (at most 20,480 characters).
  void clipcheck() override;

  // The menu's encrypt command: always asks, no length limit.
  void mnuango_Click() override;

  // Decrypts the blocks on the clipboard into the viewer; also the menu's
  // decrypt command.
  void hukugoclip() override;

  // The encrypt worker: obtains the password, encrypts `text` and replaces
  // the clipboard text by its armoured block.
  void angoclip(std::u16string_view text);

 private:
  ProgramState& state_;
  Desktop& desktop_;
  block::CipherLibrary& library_;
  PasswordChooser& chooser_;
  DecryptedTextViewer& viewer_;
};

}  // namespace quiren
