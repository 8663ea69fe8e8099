// The settings dialog face of the main window: the state of its controls,
// filling them from the store (load), the checks and writes of OK,
// and Cancel; the generated passphrases beside the fixed password boxes;
// the passwords kept sealed for the Windows user, or plain. The Win32 dialog
// mirrors `controls` into its controls.
#pragma once

#include <string>

#include "block/secret.h"
#include "block/strong/crypto_provider.h"
#include "tray/core/desktop.h"
#include "tray/core/fixed_passwords.h"
#include "tray/core/list_file_protection.h"
#include "tray/core/passphrase_offer.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"

namespace quiren {

class ClipboardWatch;

enum class EncryptPasswordSource { fixed, ask, list };
enum class DecryptPasswordSource { fixed, ask, same_as_encrypt, list };

// The designed state of the controls before their first filling: what an
// empty store gives.
struct SettingsControls {
  std::u16string wrap_width{settings::kDefaultWrapWidthText};  // as typed
  block::SecretText encrypt_password{settings::kDefaultFixedEncryptPassword};
  block::SecretText decrypt_password{settings::kDefaultFixedDecryptPassword};
  EncryptPasswordSource encrypt_source = EncryptPasswordSource::ask;
  DecryptPasswordSource decrypt_source = DecryptPasswordSource::ask;
  bool watch_clipboard = settings::kDefaultWatchClipboard == 1;
  bool ask_before_encrypt = settings::kDefaultAskBeforeEncrypt == 1;
  bool ask_before_decrypt = settings::kDefaultAskBeforeDecrypt == 1;
  bool strong = settings::kDefaultStrong;  // encrypt into strong blocks
  bool show_passwords = false;  // the two password boxes in the clear; never stored
  // The form of generated passphrases, beside their buttons: hiragana words
  // instead of English ones (stored when a passphrase is made with it).
  bool passphrase_kana = settings::kDefaultPassphraseInKana;
  // "Windows の起動時に実行する" (general frame): ticked when Windows starts
  // this program at log-on; read from the system at each opening, set by OK.
  bool start_with_windows = false;
  // "強力な暗号文だけを読む" (decrypt frame): compatible blocks refused unread.
  bool strong_only = settings::kDefaultStrongOnly;
  // "パスワードをこのユーザーだけが読める形で保存する" (general frame): the
  // fixed passwords and the password list sealed for this Windows user.
  bool protect_passwords = settings::kDefaultProtectPasswords;

  friend bool operator==(const SettingsControls&, const SettingsControls&) = default;
};

class SettingsForm {
 public:
  // `random` is the source of generated passphrases; `list_file` writes the
  // password list again when "パスワードをこのユーザーだけが読める形で保存する"
  // changes.
  SettingsForm(ProgramState& state, Desktop& desktop, block::CryptoProvider& random, ClipboardWatch& watch,
               ListFileProtection& list_file);

  // Fills the controls from the store. A fixed password sealed so that it
  // cannot be read here (another Windows user's or computer's, or damaged)
  // shows as an empty box, and OK keeps it as it is unless a new one is
  // typed there.
  void load();
  // Once the dialog shows: says so when a fixed password could not be read.
  void tell_unreadable_passwords();
  // OK: false when a check failed (its message shown, nothing saved, the
  // dialog stays open); true when saved and the dialog is to be hidden.
  bool ok();
  // The dialog is hidden: the passwords the boxes held are wiped (the next
  // opening reads them from the store again).
  void forget_passwords();

  // "パスワードを生成" beside each fixed password box: offered (the buttons
  // enabled) while strong blocks are written, since a passphrase is longer
  // than the 30 characters a compatible block's password may have, and a
  // box may serve compatible blocks only while they are written.
  bool passphrase_offered() const { return controls.strong; }
  // A button: the box gets a new passphrase in the form controls.
  // passphrase_kana picks, and both boxes are shown (show_passwords). False
  // when not offered, or when the random source failed (its message shown,
  // the box as it was).
  bool generate_passphrase(FixedPassword box);

  SettingsControls controls;

 private:
  bool fail(std::u16string_view text, Icon icon);
  // Whether OK leaves `box`'s stored password as it is: unreadable here,
  // and nothing typed in its stead.
  bool keeps_stored(FixedPassword box) const;
  const block::SecretText& typed(FixedPassword box) const;
  // The password list file into the form the box now asks for; says what
  // could not be done.
  void rewrite_password_list();

  ProgramState& state_;
  Desktop& desktop_;
  ClipboardWatch& watch_;
  ListFileProtection& list_file_;
  PassphraseOffer passphrases_;
  bool encrypt_unreadable_ = false;
  bool decrypt_unreadable_ = false;
};

}  // namespace quiren
