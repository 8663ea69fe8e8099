// Desktop services: every platform call the tray program's logic makes goes
// through this one interface. The Win32 implementation lives in
// tray/core/win32/; tests drive the logic through a scripted fake
// (tests/support/fake_desktop.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "block/background_job.h"
#include "block/secret.h"
#include "tray/core/shared_texts.h"

namespace quiren {

class PassphraseOffer;
class ProgressForm;
class RecipientChoice;

inline constexpr std::u16string_view kAppTitle = core::texts::kAppTitle;

enum class Buttons { ok, yes_no };
enum class Icon { none, critical, question, exclamation, information };
enum class Answer { ok, yes, no };

struct MessageBoxSpec {
  std::u16string text;
  Buttons buttons = Buttons::ok;
  Icon icon = Icon::none;
  bool to_front = false;  // bring the box above other programs' windows
  std::u16string title = std::u16string(kAppTitle);
  bool second_is_default = false;  // Enter answers with the second button ("No")
};

// A UTF-16 text in the ANSI code page. `lossless` is false when some
// character had no representation there (and was replaced).
struct AnsiText {
  std::string bytes;
  bool lossless = true;
};

enum class FileStatus {
  absent,      // no such file (or no such folder on the way)
  read,        // `bytes` holds the whole file
  not_plain,   // a hidden or system file, or a folder: absent for reading
  unreadable,  // it is there but could not be read: held open by another
               // program without sharing, no permission, too large
};

struct FileRead {
  FileStatus status = FileStatus::absent;
  block::SecretBytes bytes;  // the password list's file holds passwords
};

enum class NewFile { written, exists, failed };

// What a password prompt asks (its logic is PasswordPromptForm).
struct PasswordQuestion {
  std::u16string_view prompt;
  std::u16string_view title = kAppTitle;
  // A second field that must repeat the password: for passwords about to
  // be used to encrypt or kept in the list, where a typo behind the mask
  // would lock the text away.
  bool confirm = false;
  // "パスワードを生成" beside the fields, from this offer: for a password
  // about to encrypt a strong block (a compatible block's password has a
  // limit of 30 characters, and its code page to mind).
  PassphraseOffer* passphrase = nullptr;
  // "宛先を選ぶ" above the fields, from this choice: for a text about to be
  // encrypted by a user who holds a key and contacts. With anyone ticked
  // the fields are disabled and OK takes no password (recipient_choice.h).
  RecipientChoice* recipients = nullptr;
  // False: no password fields at all, for a choice of people whose
  // password otherwise comes from elsewhere (the fixed one, the list);
  // `prompt` says where.
  bool asks_password = true;
};

// A moment as this computer's clock shows it, in its time zone.
struct LocalTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;
  int hour = 0;
  int minute = 0;
  friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

struct TwipsPerPixel {
  int x = 15;
  int y = 15;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Modal; the first button is the default unless the box says otherwise.
  // Messages go on being dispatched while the box waits.
  virtual Answer message_box(const MessageBoxSpec& box) = 0;
  // Modal one-line prompt with an empty default; Cancel gives "".
  virtual std::u16string input_prompt(std::u16string_view prompt,
                                      std::u16string_view title = kAppTitle) = 0;
  // Modal password prompt: the field masked unless the user shows it, the
  // confirmation when asked for. The typed password, or "" on Cancel.
  virtual block::SecretText password_prompt(const PasswordQuestion& question) = 0;

  virtual bool clipboard_has_text() = 0;
  // True when the program that put the contents there asked clipboard
  // monitors to leave them alone, as password managers do (and this
  // program's viewer does with decrypted text).
  virtual bool clipboard_kept_from_monitors() = 0;
  virtual std::u16string clipboard_text() = 0;
  // Clears the clipboard, then puts text on it. False when the clipboard
  // could not be written (another program kept it open).
  virtual bool clipboard_put_text(std::u16string_view text) = 0;

  // The folder holding the program file; ends with '\' only at a drive's root.
  virtual std::u16string program_directory() = 0;
  // The program file's full path.
  virtual std::u16string program_path() = 0;
  virtual bool another_copy_running() = 0;
  // The program ends: every box, prompt and wait still open (a flow's, the
  // program's icon already gone) closes as if cancelled, a question as No,
  // and so does any opened after it; then the program's message loop ends.
  virtual void quit() = 0;

  // Conversion to and from the system's ANSI code page.
  virtual AnsiText to_ansi(std::u16string_view text) = 0;
  virtual std::u16string from_ansi(std::string_view bytes) = 0;

  virtual TwipsPerPixel twips_per_pixel() = 0;

  // `utc_seconds` since 1970-01-01 UTC in this computer's time zone, with
  // its daylight saving rules; nullopt when the system cannot convert it
  // (a time past what it counts).
  virtual std::optional<LocalTime> local_time(std::uint64_t utc_seconds) = 0;

  // Runs `job` on a worker thread while this thread goes on dispatching
  // messages (the tray menu opens, the clipboard watch is asked), until the
  // job has ended (true) or `progress` is cancelled (false: the job is
  // abandoned, and finishes on its own). The progress window shows once
  // the run has waited ProgressForm::kShowAfterMs, counted from its first
  // job, and goes with `progress`.
  virtual bool run_in_background(const std::shared_ptr<block::BackgroundJob>& job, ProgressForm& progress) = 0;

  // The per-user settings store, application "mu-quiren", section "settei".
  // nullopt for an absent key.
  virtual std::optional<std::u16string> read_setting(std::u16string_view key) = 0;
  virtual void write_setting(std::u16string_view key, std::u16string_view value) = 0;

  // The program's entry among the programs Windows starts at log-on (the
  // per-user "Run" list, value "mu-quiren"): the command line it holds;
  // nullopt when there is none (or it holds no text).
  virtual std::optional<std::u16string> read_logon_entry() = 0;
  // Writes the entry, or removes it (removing an absent one succeeds).
  // False when the system refused.
  virtual bool write_logon_entry(std::u16string_view command) = 0;
  virtual bool remove_logon_entry() = 0;

  // Data protection for the current Windows user (the system's DPAPI, with
  // the program's own entropy), for anything kept that only this user may
  // read: `plain` sealed so that only this user, on this computer, can
  // unprotect it. nullopt when the system refused.
  virtual std::optional<std::string> protect_for_user(std::string_view plain) = 0;
  // What protect_for_user sealed. nullopt when it cannot be unprotected
  // here: sealed for another user or on another computer, or damaged (the
  // system does not say which).
  virtual std::optional<block::SecretBytes> unprotect_for_user(std::string_view sealed) = 0;

  // The name the current Windows user logs on with: what the user's own key
  // is called until they rename it. "" when the system does not say.
  virtual std::u16string user_name() = 0;

  // Files, by full path. Reads a whole ordinary file in one call, so that
  // "there is none" and "there is one we cannot read" are never confused.
  virtual FileRead read_plain_file(std::u16string_view path) = 0;
  // Replaces the file's whole content atomically: on false the old file is
  // unchanged. Never replaces a hidden or system file or a folder.
  virtual bool replace_file(std::u16string_view path, std::string_view bytes) = 0;
  // Writes a file that is not there yet, atomically (all of it or nothing);
  // never replaces anything that is.
  virtual NewFile write_new_file(std::u16string_view path, std::string_view bytes) = 0;

  // The system's modal file dialogs: the full path chosen, or nullopt when
  // cancelled. The save dialog never asks about replacing a file: its
  // caller does, when write_new_file finds one there.
  virtual std::optional<std::u16string> choose_file_to_save(std::u16string_view title,
                                                            std::u16string_view suggested_name) = 0;
  virtual std::optional<std::u16string> choose_file_to_open(std::u16string_view title) = 0;
};

}  // namespace quiren
