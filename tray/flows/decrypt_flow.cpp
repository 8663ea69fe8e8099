// The decrypt flow: every block on the clipboard, one password, results in
// the viewer.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/decrypt_run.h"
#include "block/derivation_rate.h"
#include "block/filled_text.h"
#include "block/line_breaks.h"
#include "block/secret.h"
#include "block/utf8.h"
#include "tray/core/background_runner.h"
#include "tray/core/boxes.h"
#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/desktop.h"
#include "tray/core/fixed_passwords.h"
#include "tray/core/key_ring.h"
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"
#include "tray/core/progress_form.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/flow_texts.h"
#include "tray/flows/invalid_ciphertext.h"
#include "tray/flows/sender_label.h"

namespace quiren {
namespace {

block::SecretText typed_decrypt_password(Desktop& desktop) {
  return desktop.password_prompt({.prompt = flows::texts::kPromptDecryptPassword});
}

// The password by the settings' rule; nullopt when none was given (said
// here, unless the run was cancelled meanwhile: the program is ending).
std::optional<block::SecretText> decrypt_password(ProgramState& state, Desktop& desktop, PasswordChooser& chooser,
                                                  const ProgressForm& run) {
  std::optional<block::SecretText> password;
  if (state.settings.decrypt_password_from_list) {
    password = chooser.choose_password();
    if (!password || password->empty()) password = typed_decrypt_password(desktop);
  } else if (state.settings.decrypt_with_fixed_password || state.settings.decrypt_with_encrypt_password) {
    // Stored passwords are used as they are, also when empty: a block made
    // under an empty password must stay readable. One that cannot be read
    // here is not taken for an empty one.
    StoredFixedPassword stored = read_fixed_password(
        desktop, state.settings.decrypt_with_fixed_password ? FixedPassword::decrypt : FixedPassword::encrypt);
    if (!stored.unreadable) return std::move(stored.password);
    tell(desktop, flows::texts::kFixedPasswordUnreadable, Icon::exclamation);
    return std::nullopt;
  } else {
    password = typed_decrypt_password(desktop);
  }
  if (password->empty()) {
    if (!run.cancelled()) tell(desktop, flows::texts::kNoPasswordAfterChooser, Icon::exclamation);
    return std::nullopt;
  }
  return password;
}

// About how long `rounds` of key derivation take here, in words.
std::u16string estimated_time(std::uint64_t rounds, block::CryptoProvider& crypto) {
  const double per_second = block::measured_rounds_per_second(crypto).value_or(1.0);
  const auto seconds = static_cast<unsigned long long>(std::ceil(static_cast<double>(rounds) / per_second));
  if (seconds < 120) {
    return block::filled(flows::texts::kAboutSeconds, {{"n", block::decimal(std::max(seconds, 1ULL))}});
  }
  return block::filled(flows::texts::kAboutMinutes, {{"n", block::decimal((seconds + 59) / 60)}});
}

// A decrypted text as the viewer's text box takes it: CR LF line breaks,
// and U+FFFD for a NUL, which would end the text there and hide the rest.
block::SecretText viewer_text(std::u16string_view text) {
  block::SecretText shown(block::crlf_line_breaks(text));
  std::replace(shown.data(), shown.data() + shown.size(), u'\0', u'\uFFFD');
  return shown;
}

// The tray's side of a decrypt run: the question before a long one, the
// password by the settings' rule, the run's progress form told of each
// block (its window shows once a key derivation has taken a while).
class ViewerFrontEnd : public block::DecryptFrontEnd {
 public:
  ViewerFrontEnd(ProgramState& state, Desktop& desktop, PasswordChooser& chooser, block::CryptoProvider& crypto,
                 const KeyRing& keys, ProgressForm& progress)
      : state_(state), desktop_(desktop), chooser_(chooser), crypto_(crypto), keys_(keys), progress_(progress) {}

  bool accept_rounds(const block::LongRun& run) override {
    const std::u16string question =
        block::filled(flows::texts::kAskLongRun, {{"blocks", block::decimal(run.strong_blocks)},
                                                  {"time", estimated_time(run.rounds_to_come, crypto_)}});
    return ask_no_by_default(desktop_, question) == Answer::yes;
  }

  std::optional<block::BlockPassword> password(std::span<const block::BlockItem>) override {
    const std::optional<block::SecretText> password = decrypt_password(state_, desktop_, chooser_, progress_);
    if (!password) return std::nullopt;
    // For a compatible block a character the code page cannot hold becomes
    // "?", as it did when such a block was made; the check then decides. A
    // strong block takes the password's UTF-8 (the block library derives
    // its key from the NFC form).
    return block::BlockPassword{block::SecretBytes(desktop_.to_ansi(password->view()).bytes),
                                block::SecretBytes(block::utf8_from_utf16(password->view()))};
  }

  // A recipient block addressed to the user opens with their key, unasked.
  const block::SecretKey* secret_key() override { return keys_.my_secret_key(); }

  void block_starting(std::size_t index, std::size_t /*count*/) override { progress_.start_block(index); }

  std::optional<block::SecretText> shown_text(const block::BlockResult& plain) override {
    const block::SecretText text(plain.encoding == block::TextEncoding::utf8
                                     ? block::utf16_from_utf8(plain.text.view()).value_or(u"")
                                     : desktop_.from_ansi(plain.text.view()));
    return viewer_text(text.view());
  }

 private:
  ProgramState& state_;
  Desktop& desktop_;
  PasswordChooser& chooser_;
  block::CryptoProvider& crypto_;
  const KeyRing& keys_;
  ProgressForm& progress_;
};

}  // namespace

void ClipboardFlows::decrypt_clipboard_text(std::u16string_view text) {
  try {
    // Blocks come back quoted, re-wrapped, with changed line breaks or
    // characters that chat and office programs put in: repaired and read
    // once, for the whole run.
    const std::vector<block::BlockItem> blocks = block::read_received_blocks(text);
    if (blocks.empty()) return;
    block::RunResult run;
    {
      // The run's progress form from its first question on: the program
      // ending cancels it while a question or the prompt is open, and the
      // run then starts nothing more.
      const ProgressEnd ending{progress_};
      ProgressForm& progress = progress_.emplace(ProgressForm::Work::decrypting, blocks.size());
      if (state_.settings.asks_before_decrypting() && ask(desktop_, flows::texts::kAskDecrypt) != Answer::yes) return;
      ViewerFrontEnd front_end(state_, desktop_, chooser_, *crypto_, keys_, progress);
      BackgroundRunner runner(desktop_, progress);
      const block::CompatibleBlocks compatible =
          state_.settings.strong_only ? block::CompatibleBlocks::refuse : block::CompatibleBlocks::read;
      run = block::run_decrypt(blocks, front_end, runner, library_, crypto_, compatible);
    }
    show_run(run, text);
  } catch (...) {
    // Anything that goes wrong while taking a block apart or filling the
    // viewer: one message, no half-filled viewer.
    fail(flows::texts::kInvalidCiphertext);
  }
}

void ClipboardFlows::show_run(const block::RunResult& run, std::u16string_view received) {
  show_run_end(run, received);
  // After whatever else the run showed or said, when it kept its texts: a
  // run that failed or that the user stopped says nothing more.
  const std::size_t refused = block::blocks_with(run, block::Outcome::compatible_refused);
  const bool kept = run.end == block::RunEnd::done ||
                    (run.end == block::RunEnd::at_block && block::keeps_earlier_texts(run.stopped_by()));
  if (refused == 0 || !kept) return;
  tell(desktop_,
       block::filled(flows::texts::kCompatibleRefused,
                     {{"blocks", block::decimal(refused)}, {"setting", std::u16string(core::texts::kReadStrongOnly)}}),
       Icon::exclamation, true);
}

void ClipboardFlows::show_run_end(const block::RunResult& run, std::u16string_view received) {
  switch (run.end) {
    case block::RunEnd::done:
      return show_texts(run);
    case block::RunEnd::no_block:
    case block::RunEnd::rounds_refused:
    case block::RunEnd::no_password:
      // Nothing to show; the front end said why, if it needed saying.
      return;
    case block::RunEnd::not_shown:
      return fail(flows::texts::kInvalidCiphertext);
    case block::RunEnd::at_block:
      break;
  }
  // Everything read before the run ended is shown before the message.
  std::u16string_view stop;
  switch (run.stopped_by()) {
    case block::Outcome::opened:
    case block::Outcome::wrong_password:
    case block::Outcome::not_for_this_key:
    case block::Outcome::needs_key:
    case block::Outcome::compatible_refused:  // ends no run
      return show_texts(run);
    case block::Outcome::cancelled:
      // The user stopped it: nothing shown, nothing said.
      return;
    case block::Outcome::later_format:
      stop = flows::texts::kLaterFormat;
      break;
    case block::Outcome::refused_settings:
      stop = flows::texts::kRefusedSettings;
      break;
    case block::Outcome::needs_shared_table:
      stop = flows::texts::kNeedsSharedTable;
      break;
    case block::Outcome::over_limit:
      stop = flows::texts::kOverLimit;
      break;
    case block::Outcome::damaged:
      return fail(flows::invalid_ciphertext_message(received, run.end_block));
    case block::Outcome::failed:
      return fail(flows::texts::kInvalidCiphertext);
  }
  show_texts(run);
  tell(desktop_, stop, Icon::critical, true);
}

void ClipboardFlows::show_texts(const block::RunResult& run) {
  if (run.texts == 0) return;
  viewer_.show();
  viewer_.set_text(run.text.view());
  BlockFormats formats{.strong = block::texts_of_kind(run, block::BlockKind::strong),
                       .compatible = block::texts_of_kind(run, block::BlockKind::compatible),
                       .recipient = block::texts_of_kind(run, block::BlockKind::recipient)};
  for (const block::BlockReport& report : run.reports) {
    if (report.sender) formats.senders.push_back(sender_label(*report.sender, keys_, *crypto_, desktop_));
  }
  viewer_.set_formats(std::move(formats));
}

void ClipboardFlows::fail(std::u16string_view message) {
  tell(desktop_, message, Icon::critical, true);
  viewer_.close();
}

}  // namespace quiren
