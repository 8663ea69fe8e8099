// The contacts window "鍵と宛先": the user's name and safety digits at the
// top with "自分の鍵をコピー" (the key block on the clipboard, ready to paste
// into a mail) and a rename; the contacts below, each with its name, safety
// digits and whether the user compared them, with rename, remove and
// "確認済みにする". Every change goes to the store at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "block/strong/crypto_provider.h"
#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/keys/key_store.h"

namespace quiren::keys {

struct ContactLine {
  std::u16string name;
  std::u16string digits;  // "" when they could not be worked out
  bool confirmed = false;
};

// A contact's line in the list: name, digits and mark, tab-separated.
std::u16string contact_line_text(const ContactLine& line);

class ContactsForm {
 public:
  ContactsForm(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto, KeyStore& store);

  // Reads what the window shows from the store; the selection stays where
  // it can.
  void load();

  bool has_key() const { return !my_digits_.empty(); }
  const std::u16string& my_name() const { return my_name_; }
  const std::u16string& my_digits() const { return my_digits_; }
  const std::vector<ContactLine>& lines() const { return lines_; }
  std::optional<std::size_t> selected() const { return selected_; }
  void select(std::optional<std::size_t> index);

  // The buttons. Each says why when it cannot do its work.
  void copy_my_key();
  void rename_me();
  void rename_selected();
  void remove_selected();
  void confirm_selected();
  // "鍵を書き出す" and "鍵を読み込む" (key_transfer.h).
  void export_key();
  void import_key();
  // "USB メモリで使う": the key kept beside the program from now on.
  void keep_key_beside_program();

 private:
  // The selected index, or nullopt after saying that none is.
  std::optional<std::size_t> selection_or_say();
  // A new name asked for; nullopt when cancelled or not usable (said).
  std::optional<std::u16string> ask_name();

  ProgramState& state_;
  Desktop& desktop_;
  block::CryptoProvider& crypto_;
  KeyStore& store_;
  std::u16string my_name_;
  std::u16string my_digits_;
  std::vector<ContactLine> lines_;
  std::optional<std::size_t> selected_;
};

}  // namespace quiren::keys
