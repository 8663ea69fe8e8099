// The encrypt worker: password, library calls, block, clipboard.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "block/compatible_block.h"
#include "block/keys/recipient_block.h"
#include "block/secret.h"
#include "block/strong_block.h"
#include "block/strong_jobs.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/core/desktop.h"
#include "tray/core/fixed_passwords.h"
#include "tray/core/key_ring.h"
#include "tray/core/passphrase_offer.h"
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"
#include "tray/core/progress_form.h"
#include "tray/core/recipient_choice.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

// Typed twice: behind the mask a typo would lock the text away. `offer`
// (for a strong block) puts a generated passphrase within a click;
// `recipients`, when given, are offered above the fields.
block::SecretText typed_encrypt_password(Desktop& desktop, PassphraseOffer* offer, RecipientChoice* recipients) {
  return desktop.password_prompt({.prompt = flows::texts::kPromptEncryptPassword,
                                  .confirm = true,
                                  .passphrase = offer,
                                  .recipients = recipients});
}

// What the text is encrypted to: a password, or the contacts ticked in
// `recipients` (then `password` is empty).
struct EncryptTo {
  block::SecretText password = {};
  bool to_recipients = false;
};

// The password by the first rule that applies, or the people ticked in
// `recipients` (when offered: with the password from the settings or the
// list, they are offered first on their own); nullopt when the user gave
// neither (the refusal has been shown).
std::optional<EncryptTo> encrypt_to(ProgramState& state, Desktop& desktop, PasswordChooser& chooser,
                                    PassphraseOffer* offer, RecipientChoice* recipients) {
  std::u16string_view no_password = flows::texts::kNoPasswordTyped;
  const bool typed_by_rule = !state.settings.encrypt_password_from_list && !state.settings.encrypt_with_fixed_password;
  if (recipients && !typed_by_rule) {
    desktop.password_prompt({.prompt = state.settings.encrypt_password_from_list ? flows::texts::kPromptRecipientsOrList
                                                                                 : flows::texts::kPromptRecipientsOrFixed,
                             .recipients = recipients,
                             .asks_password = false});
    if (!recipients->accepted()) {
      tell(desktop, no_password, Icon::exclamation);
      return std::nullopt;
    }
    if (recipients->any_ticked()) return EncryptTo{.to_recipients = true};
  }
  std::optional<block::SecretText> password;
  if (state.settings.encrypt_password_from_list) {
    password = chooser.choose_password();
    if (!password || password->empty()) {
      password = typed_encrypt_password(desktop, offer, nullptr);
      no_password = flows::texts::kNoPasswordAfterChooser;
    }
  } else if (state.settings.encrypt_with_fixed_password) {
    StoredFixedPassword stored = read_fixed_password(desktop, FixedPassword::encrypt);
    if (stored.unreadable) {
      tell(desktop, flows::texts::kFixedPasswordUnreadable, Icon::exclamation);
      return std::nullopt;
    }
    password = std::move(stored.password);
  } else {
    password = typed_encrypt_password(desktop, offer, recipients);
    if (recipients && recipients->accepted() && recipients->any_ticked()) return EncryptTo{.to_recipients = true};
  }
  // An empty password would leave the text readable by anyone, so it is
  // refused also when it comes from the store.
  if (password->empty()) {
    tell(desktop, no_password, Icon::exclamation);
    return std::nullopt;
  }
  return EncryptTo{.password = std::move(*password)};
}

}  // namespace

void ClipboardFlows::encrypt_text(std::u16string_view text) {
  const bool strong = state_.settings.strong;
  // Checked before the password is asked. A strong block carries any text
  // in UTF-8; a compatible one only what the code page holds, since any
  // other character would be encrypted as "?".
  // Every UTF-16 unit takes at least a byte in either encoding.
  if (text.size() > block::kLongestText) return refuse(flows::texts::kTextTooLongToEncrypt);
  block::SecretBytes text_bytes;  // in the encoding of the block to be written
  if (strong) {
    if (!block::is_valid_utf16(text)) return refuse(flows::texts::kTextNotEncodable);
    text_bytes = block::SecretBytes(block::utf8_from_utf16(text));
  } else {
    AnsiText converted = desktop_.to_ansi(text);
    text_bytes = block::SecretBytes(std::move(converted.bytes));
    if (!converted.lossless) return refuse(flows::texts::kTextNotInCodePage);
  }
  // No longer than a block can give back whole.
  if (text_bytes.size() > block::kLongestText) return refuse(flows::texts::kTextTooLongToEncrypt);

  std::optional<PassphraseOffer> offer;
  if (strong) offer.emplace(desktop_, *crypto_);
  // Contacts are offered only to a user with a key of their own to write as.
  std::optional<RecipientChoice> choice;
  if (keys_.my_secret_key()) {
    std::vector<Contact> contacts = keys_.contacts();
    if (!contacts.empty()) choice.emplace(std::move(contacts), remembered_recipients(desktop_));
  }
  const std::optional<EncryptTo> to =
      encrypt_to(state_, desktop_, chooser_, offer ? &*offer : nullptr, choice ? &*choice : nullptr);
  if (!to) return;
  if (choice && choice->accepted()) remember_recipients(desktop_, choice->ticked_contacts());
  if (to->to_recipients) return encrypt_to_recipients(text, choice->ticked_contacts());
  const block::SecretText* password = &to->password;
  // The limit of the block about to be written: a list entry or a fixed
  // password that suits a strong block may be too long for a compatible one.
  if (password->size() > block::longest_password(strong)) return refuse(flows::texts::password_too_long(strong));

  const std::optional<std::u16string> armoured = strong ? strong_block(text_bytes.view(), password->view())
                                                        : compatible_block(text_bytes.view(), password->view());
  if (!armoured) return;

  // The flow is still running: the watch ignores the change this write
  // causes.
  const bool written = desktop_.clipboard_put_text(*armoured);
  if (!written) {
    tell(desktop_, flows::texts::kClipboardNotWritten, Icon::critical, true);
    return;
  }
  tell(desktop_, flows::texts::encrypted_message(strong), Icon::information, true);
}

void ClipboardFlows::encrypt_to_recipients(std::u16string_view text, const std::vector<Contact>& recipients) {
  // A recipient block carries UTF-8, whatever format the settings pick for
  // password blocks.
  if (!block::is_valid_utf16(text)) return refuse(flows::texts::kTextNotEncodable);
  const block::SecretBytes text_utf8(block::utf8_from_utf16(text));
  if (text_utf8.size() > block::kLongestText) return refuse(flows::texts::kTextTooLongToEncrypt);
  std::vector<block::X25519PublicKey> public_keys;
  std::vector<std::u16string> names;
  for (const Contact& contact : recipients) {
    public_keys.push_back(contact.public_key);
    names.push_back(contact.name);
  }
  // Asked again after the prompt: the key may have gone meanwhile (replaced
  // in the contacts window, say).
  const block::SecretKey* my_key = keys_.my_secret_key();
  if (!my_key) return refuse(flows::texts::kNoKeyToWriteAs);
  // No key derivation: sealing takes a moment, on this thread.
  const block::RecipientBlock written =
      block::write_recipient_block(*crypto_, text_utf8.view(), *my_key, public_keys, wrap_width());
  if (written.status != block::SealStatus::sealed) return refuse(seal_refusal(written.status));
  if (!desktop_.clipboard_put_text(written.block)) {
    tell(desktop_, flows::texts::kClipboardNotWritten, Icon::critical, true);
    return;
  }
  tell(desktop_, flows::texts::encrypted_to_message(names), Icon::information, true);
}

std::u16string_view ClipboardFlows::seal_refusal(block::SealStatus status) {
  switch (status) {
    case block::SealStatus::random_unavailable:
      return flows::texts::kRandomUnavailable;
    case block::SealStatus::text_too_long:
      return flows::texts::kTextTooLongToEncrypt;
    case block::SealStatus::recipient_count:
      return flows::texts::kTooManyRecipients;
    case block::SealStatus::recipient_key_refused:
      return flows::texts::kRecipientKeyRefused;
    default:
      return flows::texts::kCryptoFailed;
  }
}

void ClipboardFlows::refuse(std::u16string_view why) { tell(desktop_, why, Icon::critical); }

int ClipboardFlows::wrap_width() const {
  // The settings dialog keeps the width in range; a hand-edited store may not.
  return std::clamp<int>(state_.settings.wrap_width, block::kNarrowestWrap, block::kWidestWrap);
}

std::optional<std::u16string> ClipboardFlows::compatible_block(std::string_view text_bytes,
                                                               std::u16string_view password) {
  AnsiText converted = desktop_.to_ansi(password);
  const block::SecretBytes password_bytes(std::move(converted.bytes));
  if (!converted.lossless) {
    refuse(flows::texts::kPasswordNotInCodePage);
    return std::nullopt;
  }
  block::CompatibleBlock written =
      block::write_compatible_block(library_, text_bytes, password_bytes.view(), wrap_width());
  switch (written.status) {
    case block::CompatibleWrite::written:
      return std::move(written.block);
    case block::CompatibleWrite::implausible_result:
      // A failing library may answer with nothing or a cut-off result: only
      // a plausible one replaces the user's text.
      refuse(flows::texts::kEncryptMayHaveFailed);
      break;
    case block::CompatibleWrite::library_failed:
      refuse(flows::texts::kLibraryMissing);
      break;
  }
  return std::nullopt;
}

std::optional<std::u16string> ClipboardFlows::strong_block(std::string_view text_utf8,
                                                           std::u16string_view password) {
  // The job owns its copies: a cancelled one finishes on its own.
  const auto job = std::make_shared<block::SealStrongJob>(crypto_, block::SecretBytes(text_utf8),
                                                          block::SecretBytes(block::utf8_from_utf16(password)),
                                                          wrap_width());
  const ProgressEnd ending{progress_};
  if (!desktop_.run_in_background(job, progress_.emplace(ProgressForm::Work::encrypting, 1))) return std::nullopt;
  block::StrongBlock written = job->take_result();
  if (written.status == block::SealStatus::sealed) return std::move(written.block);
  refuse(seal_refusal(written.status));
  return std::nullopt;
}

}  // namespace quiren
