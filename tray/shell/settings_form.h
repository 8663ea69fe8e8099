// The settings dialog face of the main window: the state of its controls,
// filling them from the store (load), the checks and writes of OK,
// and Cancel; the generated passphrases beside the fixed password boxes.
// The Win32 dialog mirrors `controls` into its controls.
#pragma once

#include <string>

#include "block/secret.h"
#include "block/strong/crypto_provider.h"
#include "tray/core/desktop.h"
#include "tray/core/passphrase_offer.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"

namespace quiren {

class ClipboardWatch;

enum class EncryptPasswordSource { fixed, ask, list };
enum class DecryptPasswordSource { fixed, ask, same_as_encrypt, list };
enum class FixedPasswordBox { encrypt, decrypt };

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

  friend bool operator==(const SettingsControls&, const SettingsControls&) = default;
};

class SettingsForm {
 public:
  // `random` is the source of generated passphrases.
  SettingsForm(ProgramState& state, Desktop& desktop, block::CryptoProvider& random, ClipboardWatch& watch);

  // Fills the controls from the store.
  void load();
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
  bool generate_passphrase(FixedPasswordBox box);

  SettingsControls controls;

 private:
  bool fail(std::u16string_view text, Icon icon);

  ProgramState& state_;
  Desktop& desktop_;
  ClipboardWatch& watch_;
  PassphraseOffer passphrases_;
};

}  // namespace quiren
