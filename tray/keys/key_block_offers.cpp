#include "tray/keys/key_block_offers.h"

#include <algorithm>
#include <string>

#include "block/filled_text.h"
#include "block/keys/safety_digits.h"
#include "block/decrypt_run.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/keys/key_texts.h"

namespace quiren::keys {

std::optional<std::vector<block::KeyBlockContent>> key_blocks_only(block::CryptoProvider& crypto,
                                                                   std::u16string_view text) {
  const std::vector<block::BlockItem> blocks = block::read_received_blocks(text);
  if (blocks.empty()) return std::nullopt;
  std::vector<block::KeyBlockContent> keys;
  for (const block::BlockItem& item : blocks) {
    if (item.kind != block::BlockKind::key || item.problem) return std::nullopt;
    block::KeyBlockRead read = block::read_key_envelope(crypto, item.envelope);
    // A damaged one is the decrypt run's to report.
    if (read.outcome != block::Outcome::opened) return std::nullopt;
    keys.push_back(std::move(read.content));
  }
  return keys;
}

KeyBlockOffers::KeyBlockOffers(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto,
                               KeyStore& store, KeyOfferWindow& window, CipherCommands& flows)
    : state_(state), desktop_(desktop), crypto_(crypto), store_(store), window_(window), flows_(flows) {}

void KeyBlockOffers::on_clipboard_change() {
  {
    const Busy::Token running = state_.busy.start_flow();
    if (!running || !desktop_.clipboard_has_text() || desktop_.clipboard_kept_from_monitors()) return;
    if (const auto keys = key_blocks_only(crypto_, desktop_.clipboard_text())) {
      const bool any_offered = std::any_of(keys->begin(), keys->end(), [&](const block::KeyBlockContent& key) {
        return classify_key_block(store_, key).kind != KeyOfferKind::own_key;
      });
      if (!any_offered) return;
      if (state_.settings.asks_before_decrypting() && ask(desktop_, texts::kAskOffer) != Answer::yes) return;
      for (const block::KeyBlockContent& key : *keys) offer(key, false);
      return;
    }
  }
  flows_.on_clipboard_change();
}

void KeyBlockOffers::decrypt_clipboard() {
  {
    const Busy::Token running = state_.busy.start_flow();
    if (!running) return;
    if (const auto keys = key_blocks_only(crypto_, desktop_.clipboard_text())) {
      for (const block::KeyBlockContent& key : *keys) offer(key, true);
      return;
    }
  }
  flows_.decrypt_clipboard();
}

void KeyBlockOffers::offer(const block::KeyBlockContent& content, bool from_menu) {
  KeyOffer offer = classify_key_block(store_, content);
  switch (offer.kind) {
    case KeyOfferKind::own_key:
      if (from_menu) tell(desktop_, texts::kOwnKeyBlock, Icon::information);
      return;
    case KeyOfferKind::known_key:
      tell(desktop_, block::filled(texts::kKeyAlreadyHeld, {{"name", offer.contact_name}}), Icon::information);
      return;
    case KeyOfferKind::new_key:
    case KeyOfferKind::changed_key:
      break;
  }
  const std::optional<std::string> digits = block::safety_digits(crypto_, content.public_key);
  if (!digits) return tell(desktop_, texts::kDigitsFailed, Icon::critical);
  KeyOfferForm form(desktop_, store_, std::move(offer), std::u16string(digits->begin(), digits->end()));
  window_.run(form);
}

}  // namespace quiren::keys
