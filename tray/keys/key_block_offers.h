// Key blocks on the clipboard become offers to add a contact. Stands in
// front of the cipher flows: a text whose blocks are all key blocks (read
// whole, checksum and name) is offered here, one block after another; any
// other text, a text mixing key blocks with other blocks included, goes on
// to the flows as before (the decrypt run reads its key blocks for the
// viewer). The watch's rules stay: the watch calls only while nothing is
// busy, text kept from monitors is left alone, and with "ask before
// decrypting" set the user is asked first. The user's own key block is
// passed over in silence (the user copies it to send it); the menu's decrypt
// command says what it is.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "block/keys/key_block.h"
#include "block/strong/crypto_provider.h"
#include "tray/core/cipher_commands.h"
#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/keys/key_offer_form.h"
#include "tray/keys/key_store.h"

namespace quiren::keys {

// The key blocks of `text` when every block it holds is a readable key
// block; nullopt for any other text.
std::optional<std::vector<block::KeyBlockContent>> key_blocks_only(block::CryptoProvider& crypto,
                                                                   std::u16string_view text);

class KeyBlockOffers : public CipherCommands {
 public:
  KeyBlockOffers(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto, KeyStore& store,
                 KeyOfferWindow& window, CipherCommands& flows);

  void on_clipboard_change() override;
  void encrypt_clipboard() override { flows_.encrypt_clipboard(); }
  void decrypt_clipboard() override;
  void cancel_run() override { flows_.cancel_run(); }

 private:
  // From the watch or the menu's decrypt command.
  void offer(const block::KeyBlockContent& content, bool from_menu);

  ProgramState& state_;
  Desktop& desktop_;
  block::CryptoProvider& crypto_;
  KeyStore& store_;
  KeyOfferWindow& window_;
  CipherCommands& flows_;
};

}  // namespace quiren::keys
