// A scripted, recording stand-in for the desktop services.
//
// Message boxes answer from `box_answers` (front first); when that runs out
// a box answers with its default button. Prompts answer from `prompt_answers`;
// when that runs out a prompt is cancelled (""). A password prompt runs the
// real PasswordPromptForm: each OK types the next of `prompt_answers` and,
// where the prompt asks for it, the next of `confirmation_answers` (the
// same password again when that has run out); a repetition that differs
// shows its box as the window does and takes the next answers. With
// `press_generate`, a prompt that offers a generated passphrase has its
// button pressed first and OK pressed on what it filled in (a failed
// random source shows its box, and the scripted answers follow). A prompt
// with "宛先を選ぶ" first takes the next of `recipient_ticks` (when any is
// left) as the contacts ticked, the rest unticked; then, with anyone ticked
// or no password fields, OK is pressed at once (Cancel while
// `cancel_recipient_prompts`). Every box
// and prompt is recorded. `on_modal` runs inside every box and prompt, as if
// a message arrived while it waited (a clipboard change, say).
//
// A background job runs here, on the calling thread: first `while_waiting`
// runs with the run's progress form, as if messages arrived while the job
// ran elsewhere. There a test fires the progress window's timer
// (fire_progress_timer()), presses Cancel (progress.cancel()) or copies a
// text. A cancelled wait still runs its job, abandoned, as the job's own
// thread would go on with it, and reports the cancel.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tray/core/desktop.h"

namespace quiren::testing {

enum class PromptKind { plain, password, confirmed_password };

struct RecordedPrompt {
  std::u16string prompt;
  std::u16string title;
  PromptKind kind = PromptKind::plain;
  bool offers_passphrase = false;  // "パスワードを生成" beside the fields
  // "宛先を選ぶ": the contacts as listed, and those ticked when it opened.
  std::vector<std::u16string> recipients = {};
  std::vector<bool> ticked_at_open = {};
  bool asks_password = true;
};

class FakeDesktop : public Desktop {
 public:
  // code_page: 932 (Japanese) or 1252 (western).
  explicit FakeDesktop(int code_page = 932);

  Answer message_box(const MessageBoxSpec& box) override;
  std::u16string input_prompt(std::u16string_view prompt, std::u16string_view title) override;
  block::SecretText password_prompt(const PasswordQuestion& question) override;
  bool clipboard_has_text() override;
  bool clipboard_kept_from_monitors() override { return clipboard_private; }
  std::u16string clipboard_text() override;
  bool clipboard_put_text(std::u16string_view text) override;
  std::u16string program_directory() override { return program_dir; }
  std::u16string program_path() override { return program_dir + u"\\mu_quiren11e.exe"; }
  bool another_copy_running() override { return other_copy_running; }
  void quit() override { quit_requested = true; }
  AnsiText to_ansi(std::u16string_view text) override;
  std::u16string from_ansi(std::string_view bytes) override;
  TwipsPerPixel twips_per_pixel() override { return twips; }
  std::optional<LocalTime> local_time(std::uint64_t utc_seconds) override;
  bool run_in_background(const std::shared_ptr<block::BackgroundJob>& job, ProgressForm& progress) override;
  std::optional<std::u16string> read_setting(std::u16string_view key) override;
  void write_setting(std::u16string_view key, std::u16string_view value) override;
  std::optional<std::u16string> read_logon_entry() override { return logon_entry; }
  bool write_logon_entry(std::u16string_view command) override;
  bool remove_logon_entry() override;
  std::optional<std::string> protect_for_user(std::string_view plain) override;
  std::optional<block::SecretBytes> unprotect_for_user(std::string_view sealed) override;
  std::u16string user_name() override { return windows_user; }
  std::optional<std::u16string> choose_file_to_save(std::u16string_view title,
                                                    std::u16string_view suggested_name) override;
  std::optional<std::u16string> choose_file_to_open(std::u16string_view title) override;
  FileRead read_plain_file(std::u16string_view path) override;
  bool replace_file(std::u16string_view path, std::string_view bytes) override;
  NewFile write_new_file(std::u16string_view path, std::string_view bytes) override;

  // The texts of the boxes shown so far, in order.
  std::vector<std::u16string> box_texts() const;

  // Inside while_waiting: the progress timer's time has come.
  void fire_progress_timer();

  int code_page;
  std::deque<Answer> box_answers;
  std::deque<std::u16string> prompt_answers;
  std::deque<std::u16string> confirmation_answers;
  bool press_generate = false;
  std::deque<std::vector<std::size_t>> recipient_ticks;
  bool cancel_recipient_prompts = false;
  std::vector<std::u16string> generated_passphrases;  // what the button filled in, in order
  std::vector<MessageBoxSpec> boxes;
  std::vector<RecordedPrompt> prompts;
  std::function<void()> on_modal;

  std::optional<std::u16string> clipboard;  // nullopt: no text on it
  bool clipboard_private = false;  // marked for monitors to leave alone
  bool clipboard_write_fails = false;
  int clipboard_writes = 0;

  std::u16string program_dir = u"C:\\Program Files\\mu-quiren";
  bool other_copy_running = false;
  bool quit_requested = false;  // quit() was called
  TwipsPerPixel twips;
  // The time zone local_time converts to, with no daylight saving: Japan's
  // unless a test moves it.
  int utc_offset_minutes = 9 * 60;

  std::function<void(ProgressForm&)> while_waiting;
  ProgressForm* waiting_progress = nullptr;  // during a wait
  int background_jobs = 0;                   // every job run in the background

  std::map<std::u16string, std::u16string, std::less<>> settings;
  std::vector<std::u16string> settings_writes;  // keys, in write order

  // The entry Windows starts at log-on; every write and removal tried, in
  // order ("write <command>", "remove"); both fail while `logon_entry_locked`.
  std::optional<std::u16string> logon_entry;
  std::vector<std::u16string> logon_entry_changes;
  bool logon_entry_locked = false;

  // Data protection: a sealed text names the user it was sealed for and a
  // serial (so two seals of one text differ), then the bytes scrambled, so
  // no plain text shows in it. It unprotects only while `windows_user` is
  // the same; with `protection_fails` the system refuses both ways.
  std::u16string windows_user = u"taro";
  bool protection_fails = false;
  int seals = 0;

  // Files by full path. A hidden one (or a system file, or a folder) reads
  // as not_plain and is never replaced; an unreadable one (held open by
  // another program, say) reads as unreadable and cannot be replaced either.
  // Both keep their bytes in `files`, so a test can see them unchanged.
  std::map<std::u16string, std::string, std::less<>> files;
  std::set<std::u16string, std::less<>> hidden_files;
  std::set<std::u16string, std::less<>> unreadable_files;
  bool file_writes_fail = false;      // replace_file and write_new_file fail
  std::vector<std::u16string> file_writes;  // every write tried, by path, in order
  // The file dialogs answer from `chosen_files` (front first; nullopt or
  // none left: cancelled) and record their titles.
  std::deque<std::optional<std::u16string>> chosen_files;
  std::vector<std::u16string> file_dialogs;
};

// UTF-8 literal helpers for readable test data.
std::u16string u16(std::string_view utf8);
std::string utf8(std::u16string_view text);

}  // namespace quiren::testing
