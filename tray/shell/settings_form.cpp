#include "tray/shell/settings_form.h"

#include <charconv>
#include <optional>
#include <string>

#include "block/block_rules.h"
#include "tray/core/boxes.h"
#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"
#include "tray/core/settings_text.h"
#include "tray/shell/clipboard_watch.h"
#include "tray/shell/shell_texts.h"
#include "tray/shell/start_with_windows.h"

namespace quiren {
namespace {

// The exact value of a text that parse_rounded_number accepts (so it holds
// only blanks, a sign, digits, a point and an exponent); nullopt otherwise.
std::optional<double> exact_number(std::u16string_view text) {
  if (!settings::parse_rounded_number(text)) return std::nullopt;
  std::string ascii;
  for (char16_t c : text) {
    if (c == u' ' || c == u'\t') continue;
    if (c > 0x7f) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  if (!ascii.empty() && ascii.front() == '+') ascii.erase(0, 1);
  double value = 0;
  auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ec != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

// A check box's stored "1"/"0"; any other text leaves it as it was.
bool read_check(Desktop& desktop, std::u16string_view key, bool current) {
  auto text = desktop.read_setting(key);
  if (!text) return current;
  auto n = settings::parse_rounded_number(*text);
  if (n == 1) return true;
  if (n == 0) return false;
  return current;
}

}  // namespace

SettingsForm::SettingsForm(ProgramState& state, Desktop& desktop, block::CryptoProvider& random,
                           ClipboardWatch& watch, ListFileProtection& list_file)
    : state_(state), desktop_(desktop), watch_(watch), list_file_(list_file), passphrases_(desktop, random) {}

void SettingsForm::load() {
  using namespace settings;
  SettingsControls& c = controls;
  // The box shows the width as stored; absent, the default 60.
  c.wrap_width = read_text_or(desktop_, kWrapWidth, kDefaultWrapWidthText);
  StoredFixedPassword encrypt = read_fixed_password(desktop_, FixedPassword::encrypt);
  StoredFixedPassword decrypt = read_fixed_password(desktop_, FixedPassword::decrypt);
  c.encrypt_password = std::move(encrypt.password);
  c.decrypt_password = std::move(decrypt.password);
  encrypt_unreadable_ = encrypt.unreadable;
  decrypt_unreadable_ = decrypt.unreadable;

  if (read_boolean_or(desktop_, kDecryptWithEncryptPassword, kDefaultDecryptWithEncryptPassword)) {
    c.decrypt_source = DecryptPasswordSource::same_as_encrypt;
  } else if (read_boolean_or(desktop_, kDecryptWithFixedPassword, kDefaultDecryptWithFixedPassword)) {
    c.decrypt_source = DecryptPasswordSource::fixed;
  } else {
    c.decrypt_source = DecryptPasswordSource::ask;
  }
  c.encrypt_source = read_boolean_or(desktop_, kEncryptWithFixedPassword, kDefaultEncryptWithFixedPassword)
                         ? EncryptPasswordSource::fixed
                         : EncryptPasswordSource::ask;
  // Selecting the list buttons clears the choices made above.
  if (read_boolean_or(desktop_, kEncryptPasswordFromList, kDefaultEncryptPasswordFromList)) {
    c.encrypt_source = EncryptPasswordSource::list;
  }
  if (read_boolean_or(desktop_, kDecryptPasswordFromList, kDefaultDecryptPasswordFromList)) {
    c.decrypt_source = DecryptPasswordSource::list;
  }

  // An absent key keeps the watch box as it is.
  c.watch_clipboard = read_check(desktop_, kWatchClipboard, c.watch_clipboard);
  c.ask_before_encrypt = read_check(desktop_, kAskBeforeEncrypt, kDefaultAskBeforeEncrypt == 1);
  c.ask_before_decrypt = read_check(desktop_, kAskBeforeDecrypt, kDefaultAskBeforeDecrypt == 1);
  c.strong = read_boolean_or(desktop_, kStrong, kDefaultStrong);
  c.strong_only = read_boolean_or(desktop_, kStrongOnly, kDefaultStrongOnly);
  c.protect_passwords = read_boolean_or(desktop_, kProtectPasswords, kDefaultProtectPasswords);
  // Every opening starts masked.
  c.show_passwords = false;
  c.passphrase_kana = passphrases_.remembered_kana();
  // What the system holds now: an entry removed elsewhere shows unticked.
  c.start_with_windows = find_logon_entry(desktop_) == LogonEntry::this_program;
}

void SettingsForm::tell_unreadable_passwords() {
  if (encrypt_unreadable_ || decrypt_unreadable_) tell(desktop_, shell::texts::kFixedPasswordsUnreadable, Icon::exclamation);
}

bool SettingsForm::keeps_stored(FixedPassword box) const {
  const bool unreadable = box == FixedPassword::encrypt ? encrypt_unreadable_ : decrypt_unreadable_;
  return unreadable && typed(box).empty();
}

const block::SecretText& SettingsForm::typed(FixedPassword box) const {
  return box == FixedPassword::encrypt ? controls.encrypt_password : controls.decrypt_password;
}

bool SettingsForm::generate_passphrase(FixedPassword box) {
  if (!passphrase_offered()) return false;
  const std::optional<block::SecretText> passphrase = passphrases_.make(controls.passphrase_kana);
  if (!passphrase) return fail(shell::texts::kPassphraseFailed, Icon::exclamation);
  block::SecretText& field = box == FixedPassword::encrypt ? controls.encrypt_password : controls.decrypt_password;
  field = passphrase->copy();
  controls.show_passwords = true;
  return true;
}

void SettingsForm::forget_passwords() {
  controls.encrypt_password.clear();
  controls.decrypt_password.clear();
}

bool SettingsForm::fail(std::u16string_view text, Icon icon) {
  tell(desktop_, text, icon);
  return false;
}

bool SettingsForm::ok() {
  using namespace settings;
  // Not a copy: the passwords would stay behind in it.
  const SettingsControls& c = controls;
  const bool encrypt_fixed = c.encrypt_source == EncryptPasswordSource::fixed;
  const bool decrypt_fixed = c.decrypt_source == DecryptPasswordSource::fixed;
  const bool same_as_encrypt = c.decrypt_source == DecryptPasswordSource::same_as_encrypt;
  const bool encrypt_list = c.encrypt_source == EncryptPasswordSource::list;
  const bool decrypt_list = c.decrypt_source == DecryptPasswordSource::list;

  // A box whose password is used always, while compatible blocks are
  // written, keeps their limit; any other may be used for a strong block.
  const bool encrypt_box_compatible = encrypt_fixed && !c.strong;
  const bool decrypt_box_compatible = decrypt_fixed && !c.strong;
  if (c.encrypt_password.size() > block::longest_password(!encrypt_box_compatible)) {
    return fail(shell::texts::password_too_long(!encrypt_box_compatible), Icon::critical);
  }
  if (c.decrypt_password.size() > block::longest_password(!decrypt_box_compatible)) {
    return fail(shell::texts::password_too_long(!decrypt_box_compatible), Icon::critical);
  }
  const std::optional<double> width = exact_number(c.wrap_width);
  if (!width || *width < block::kNarrowestWrap || *width > block::kWidestWrap) {
    return fail(shell::texts::kBadWrapWidth, Icon::exclamation);
  }
  // The width takes effect here, even when a later check fails.
  SettingValues& v = state_.settings;
  v.wrap_width = parse_int16(c.wrap_width).value_or(kDefaultWrapWidth);
  if (encrypt_fixed && c.encrypt_password.empty()) {
    return fail(shell::texts::kFixedPasswordMissing, Icon::exclamation);
  }
  if (same_as_encrypt && !encrypt_fixed) {
    return fail(shell::texts::kSameAsEncryptNeedsFixed, Icon::exclamation);
  }
  // Sealed before anything is saved: a refusal leaves the store as it was.
  std::optional<FixedPasswordValues> stored[2];
  for (const FixedPassword box : {FixedPassword::encrypt, FixedPassword::decrypt}) {
    if (keeps_stored(box)) continue;
    std::optional<FixedPasswordValues>& values = stored[static_cast<int>(box)];
    values = fixed_password_values(desktop_, typed(box).view(), c.protect_passwords);
    if (!values) return fail(shell::texts::kPasswordsNotSealed, Icon::critical);
  }
  // Before anything is saved: a refusal keeps the dialog open with the box
  // as the user left it.
  if (!set_start_with_windows(desktop_, c.start_with_windows)) {
    return fail(shell::texts::kLogonEntryNotWritten, Icon::critical);
  }
  const bool protection_changed =
      read_boolean_or(desktop_, kProtectPasswords, kDefaultProtectPasswords) != c.protect_passwords;

  v.encrypt_with_fixed_password = encrypt_fixed;
  v.decrypt_with_fixed_password = decrypt_fixed;
  v.decrypt_with_encrypt_password = same_as_encrypt;
  v.encrypt_password_from_list = encrypt_list;
  v.decrypt_password_from_list = decrypt_list;
  v.ask_before_encrypt = c.ask_before_encrypt ? 1 : 0;
  v.ask_before_decrypt = c.ask_before_decrypt ? 1 : 0;
  v.strong = c.strong;
  v.strong_only = c.strong_only;

  if (!watch_.installed() && c.watch_clipboard) {
    watch_.install();
  } else if (watch_.installed() && !c.watch_clipboard) {
    watch_.remove();
  }

  // In the order the earlier version wrote them.
  desktop_.write_setting(kWrapWidth, c.wrap_width);
  write_boolean(desktop_, kEncryptWithFixedPassword, encrypt_fixed);
  write_boolean(desktop_, kDecryptWithFixedPassword, decrypt_fixed);
  // Each beside its plain value, where the earlier version wrote that.
  for (const FixedPassword box : {FixedPassword::encrypt, FixedPassword::decrypt}) {
    if (const std::optional<FixedPasswordValues>& values = stored[static_cast<int>(box)]) {
      write_fixed_password(desktop_, box, *values);
    }
  }
  write_check(desktop_, kWatchClipboard, c.watch_clipboard);
  write_boolean(desktop_, kDecryptWithEncryptPassword, same_as_encrypt);
  write_check(desktop_, kAskBeforeEncrypt, c.ask_before_encrypt);
  write_check(desktop_, kAskBeforeDecrypt, c.ask_before_decrypt);
  write_boolean(desktop_, kEncryptPasswordFromList, encrypt_list);
  write_boolean(desktop_, kDecryptPasswordFromList, decrypt_list);
  write_boolean(desktop_, kStrong, c.strong);
  write_boolean(desktop_, kStrongOnly, c.strong_only);
  write_boolean(desktop_, kProtectPasswords, c.protect_passwords);
  if (protection_changed) rewrite_password_list();
  return true;
}

void SettingsForm::rewrite_password_list() {
  switch (list_file_.rewrite_password_list(controls.protect_passwords)) {
    case ListRewrite::done:
      return;
    case ListRewrite::unreadable:
      tell(desktop_, shell::texts::kListSealedUnreadable, Icon::exclamation);
      return;
    case ListRewrite::not_written:
      tell(desktop_, shell::texts::list_not_rewritten(controls.protect_passwords), Icon::exclamation);
      return;
  }
}

}  // namespace quiren
