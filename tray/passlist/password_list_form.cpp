#include "tray/passlist/password_list_form.h"

#include <cstddef>

#include "block/block_rules.h"
#include "tray/passlist/masked_password.h"
#include "tray/passlist/password_list_layout.h"
#include "tray/passlist/password_list_texts.h"

namespace quiren {

namespace texts = passlist::texts;

PasswordListForm::PasswordListForm(PasswordListMode mode, Busy& busy, Desktop& desktop)
    : busy_(busy), desktop_(desktop), caption_(texts::kEditorCaption), chooser_(mode == PasswordListMode::chooser) {}

PasswordListForm::~PasswordListForm() { wipe_passwords(); }

void PasswordListForm::load() {
  open_ = busy_.hold();
  if (chooser_) {
    client_height_ = passlist::layout::kChooserClientHeight;
    buttons_enabled_ = false;
    caption_ = texts::kChooserCaption;
  }

  LoadedPasswordFile file = load_password_file(desktop_);
  source_ = file.source;
  if (source_ == PasswordFileSource::unreadable || source_ == PasswordFileSource::locked) {
    // An empty list shown in its place would look like the passwords were
    // gone, and a save from it would make that true. The window closes; the
    // user can open it again once the other program lets go of the file (a
    // sealed one opens only for the user and computer that sealed it).
    show(source_ == PasswordFileSource::locked ? texts::kSealedUnreadable : texts::kReadFailed, Icon::exclamation);
    unload();
    return;
  }
  entries_ = std::move(file.entries);
  original_ = std::move(file.original);
  // The count is what was actually read, whatever the count line said.
  count_ = static_cast<std::int32_t>(entries_.passwords.size());
  selected_ = -1;
  info_.clear();
  passwords_shown_ = false;

  if (count_ == 0 && chooser_) {
    show(texts::kEmptyList, Icon::information);
    unload();
    return;
  }
  if (source_ == PasswordFileSource::damaged) {
    show(texts::damaged_list(count_, !chooser_), Icon::exclamation);
  }
}

void PasswordListForm::unload() {
  if (closed_) return;
  closed_ = true;
  // Closing ends the window's hold; the save question comes after it.
  open_.release();
  ask_to_save();
  wipe_passwords();
}

void PasswordListForm::on_list_click(int selected) {
  select(selected);
}

void PasswordListForm::on_list_double_click(int selected) {
  selected_ = selected;
  if (selected_ >= 0 && chooser_) pick();
}

void PasswordListForm::on_list_key_up(int key, int selected) {
  selected_ = selected;
  show_description();
  if (key == kEnterKey && selected_ >= 0 && chooser_) pick();
}

void PasswordListForm::add() {
  if (chooser_ || closed_) return;
  // Typed twice: an entry with a typo behind the mask would be found wrong
  // only when a block made with it cannot be opened.
  block::SecretText password =
      desktop_.password_prompt({.prompt = texts::kPasswordPrompt, .title = texts::kPromptTitle, .confirm = true});
  if (password.empty()) return;
  // An entry may go to either kind of block: the strong limit here; a
  // compatible block refuses a longer one when it is about to be written.
  if (password.size() > block::kLongestStrongPassword) {
    show(texts::kTooLong, Icon::critical);
    return;
  }
  if (auto refusal = refusal_for(password.view()); !refusal.empty()) {
    show(refusal, Icon::critical);
    return;
  }
  if (count_ >= kMaxEntries) {
    show(texts::kListFull, Icon::critical);
    return;
  }
  std::u16string description =
      desktop_.input_prompt(texts::kDescriptionPrompt, texts::kPromptTitle);
  // The description is checked before the entry goes in, so a refusal
  // leaves the list as it was.
  if (auto refusal = refusal_for(description); !refusal.empty()) {
    show(refusal, Icon::critical);
    return;
  }
  entries_.passwords.push_back(std::move(password));
  entries_.descriptions.push_back(std::move(description));
  ++count_;
  unsaved_changes_ = true;
}

void PasswordListForm::delete_selected() {
  if (chooser_ || closed_) return;
  if (selected_ < 0 || selected_ >= count_) return;
  const auto k = static_cast<std::size_t>(selected_);
  entries_.passwords.erase(entries_.passwords.begin() + static_cast<std::ptrdiff_t>(k));
  entries_.descriptions.erase(entries_.descriptions.begin() + static_cast<std::ptrdiff_t>(k));
  --count_;
  unsaved_changes_ = true;
  selected_ = -1;  // the line went with the entry
  show_description();
  int next = static_cast<int>(k) < count_ ? static_cast<int>(k) : static_cast<int>(k) - 1;
  select(next);
}

void PasswordListForm::save() {
  if (chooser_ || closed_) return;
  ask_to_save();
}

void PasswordListForm::ask_to_save() {
  // An opening that could not read the file never writes it.
  const bool read = source_ != PasswordFileSource::unreadable && source_ != PasswordFileSource::locked;
  if (chooser_ || !unsaved_changes_ || !read) return;
  MessageBoxSpec question;
  question.text = texts::kSaveQuestion;
  question.buttons = Buttons::yes_no;
  question.icon = Icon::none;
  if (desktop_.message_box(question) != Answer::yes) {
    unsaved_changes_ = false;
    return;
  }
  if (source_ == PasswordFileSource::not_plain) {
    // The changes stay pending, as after a failed save.
    show(texts::kNotPlainRefused, Icon::critical);
    return;
  }
  if (!original_kept()) return;
  // In the form the settings ask for now, whatever form it was read in.
  switch (save_password_file(entries_, desktop_, chosen_password_file_form(desktop_))) {
    case SaveResult::saved:
      unsaved_changes_ = false;
      return;
    case SaveResult::not_sealed:
      show(texts::kNotSealed, Icon::critical);
      return;
    case SaveResult::failed:
      break;
  }
  // The old file is untouched; the changes stay pending so the user can try
  // again while the window is open.
  show(texts::kSaveFailed, Icon::critical);
}

bool PasswordListForm::original_kept() {
  if (source_ != PasswordFileSource::damaged || original_kept_) return true;
  switch (keep_original(original_.view(), desktop_)) {
    case BackupResult::kept:
      // Once only: a later save never touches quiren.pas.bak again.
      original_kept_ = true;
      original_.clear();
      return true;
    case BackupResult::taken:
      show(texts::kBackupTaken, Icon::critical);
      return false;
    case BackupResult::failed:
      break;
  }
  show(texts::kBackupFailed, Icon::critical);
  return false;
}

void PasswordListForm::wipe_passwords() {
  for (block::SecretText& password : entries_.passwords) password.clear();
  original_.clear();
}

std::vector<block::SecretText> PasswordListForm::lines() const {
  std::vector<block::SecretText> lines;
  lines.reserve(entries_.passwords.size());
  for (const block::SecretText& password : entries_.passwords) {
    lines.push_back(passwords_shown_ ? password.copy() : passlist::masked_password(password.view()));
  }
  return lines;
}

void PasswordListForm::show_description() {
  if (selected_ >= 0 && selected_ < count_ && count_ != 0) {
    info_ = entries_.descriptions[static_cast<std::size_t>(selected_)];
  }
}

void PasswordListForm::select(int index) {
  selected_ = index >= 0 && index < count_ ? index : -1;
  show_description();
}

void PasswordListForm::pick() {
  if (selected_ < 0 || selected_ >= count_) return;
  pick_.emplace(entries_.passwords[static_cast<std::size_t>(selected_)].copy());
  unload();
}

void PasswordListForm::show(std::u16string_view text, Icon icon) {
  MessageBoxSpec box;
  box.text = std::u16string(text);
  box.buttons = Buttons::ok;
  box.icon = icon;
  desktop_.message_box(box);
}

std::u16string_view PasswordListForm::refusal_for(std::u16string_view text) {
  if (text.find_first_of(u"\"\r\n") != std::u16string_view::npos) return texts::kQuoteRefused;
  if (!desktop_.to_ansi(text).lossless) return texts::kCharacterRefused;
  return {};
}

}  // namespace quiren
