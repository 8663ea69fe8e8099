// The password list window's logic, in both of its modes: the modeless
// editor and the modal chooser. The Win32 window forwards the events here
// and mirrors the state into its controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "block/secret.h"
#include "tray/core/busy.h"
#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/passlist/password_list_file.h"

namespace quiren {

enum class PasswordListMode {
  editor,   // modeless: add, delete, save
  chooser,  // modal: pick one password, change nothing
};

class PasswordListForm {
 public:
  static constexpr int kEnterKey = 13;
  // The list box's index and count are 16-bit.
  static constexpr std::int32_t kMaxEntries = 32767;

  // The window keeps the program busy while it is open, in either mode.
  PasswordListForm(PasswordListMode mode, Busy& busy, Desktop& desktop);
  ~PasswordListForm();
  PasswordListForm(const PasswordListForm&) = delete;
  PasswordListForm& operator=(const PasswordListForm&) = delete;

  // Event handlers. `selected` is the list box's selected line as the user
  // left it (-1: none). Picking, adding and deleting go by the entries'
  // order, whether the lines are masked or shown.
  // Reads the file. A file that is there but cannot be read is reported and
  // closes the window at once (closed() is then true): this opening must
  // not write over a list it could not show.
  void load();
  // The close path, however the window closes; runs once. The passwords
  // held are wiped afterwards (the list keeps its length).
  void unload();
  void on_list_click(int selected);
  void on_list_double_click(int selected);
  void on_list_key_up(int key, int selected);
  void add();  // add
  void delete_selected();  // delete the selected entry
  void save();  // save now
  // The show box: every password in full while ticked; it is unticked
  // whenever the window opens.
  void show_passwords(bool shown) { passwords_shown_ = shown; }

  // State for the window to mirror.
  const std::u16string& caption() const { return caption_; }
  // The list box: one line per entry, each password masked
  // (masked_password) unless the show box is ticked.
  std::vector<block::SecretText> lines() const;
  bool passwords_shown() const { return passwords_shown_; }
  int selected() const { return selected_; }
  const std::u16string& info_text() const { return info_; }
  bool buttons_enabled() const { return buttons_enabled_; }
  // Set in chooser mode: the window's client height in twips, which ends
  // above the buttons (the chooser has none).
  std::optional<int> client_height_twips() const { return client_height_; }
  bool chooser() const { return chooser_; }
  bool closed() const { return closed_; }
  // The chooser's pick, handed over once: nullopt when it closed without
  // one.
  std::optional<block::SecretText> take_pick() { return std::exchange(pick_, std::nullopt); }

  const std::vector<block::SecretText>& passwords() const { return entries_.passwords; }
  const std::vector<std::u16string>& descriptions() const { return entries_.descriptions; }
  std::int32_t count() const { return count_; }
  bool unsaved_changes() const { return unsaved_changes_; }
  PasswordFileSource source() const { return source_; }

 private:
  void ask_to_save();     // the save question and the rewrite
  // Before the first save over a damaged file: its original kept beside it.
  // False (and the refusal shown) when it could not be.
  bool original_kept();
  void wipe_passwords();
  void show_description();  // show the selected entry's description
  void select(int index);
  void pick();
  void show(std::u16string_view text, Icon icon);
  // "" when `text` can go into the file; else the refusal to show.
  std::u16string_view refusal_for(std::u16string_view text);

  Busy& busy_;
  Desktop& desktop_;
  Busy::Token open_;

  std::u16string caption_;
  int selected_ = -1;
  std::u16string info_;  // the description below the list
  bool passwords_shown_ = false;
  bool buttons_enabled_ = true;
  std::optional<int> client_height_;
  const bool chooser_;
  bool closed_ = false;
  std::optional<block::SecretText> pick_;

  PasswordEntries entries_;
  std::int32_t count_ = 0;
  bool unsaved_changes_ = false;

  PasswordFileSource source_ = PasswordFileSource::absent;
  block::SecretBytes original_;  // a damaged file's bytes, until they are kept
  bool original_kept_ = false;
};

}  // namespace quiren
