#include "tray/flows/sender_label.h"

#include <optional>
#include <string>

#include "block/filled_text.h"
#include "block/keys/safety_digits.h"
#include "tray/core/contact_label.h"
#include "tray/core/desktop.h"
#include "tray/core/key_ring.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

// The first two groups of five: enough to tell keys apart at a glance, and
// the user compares all six in the contacts window anyway.
constexpr std::size_t kShownDigits = 11;  // "97452 31774"

std::u16string two_digits(int n) {
  std::u16string text = block::decimal(static_cast<unsigned long long>(n));
  return text.size() < 2 ? u"0" + text : text;
}

std::u16string who(const block::RecipientSender& sender, const KeyRing& keys, block::CryptoProvider& crypto) {
  if (keys.my_public_key() == sender.public_key) return std::u16string(flows::texts::kSenderYou);
  if (const std::optional<Contact> contact = keys.contact_with(sender.public_key)) return contact_label(*contact);
  std::u16string unknown(flows::texts::kSenderUnknownKey);
  if (const std::optional<std::string> digits = block::safety_digits(crypto, sender.public_key)) {
    const std::string shown = digits->substr(0, kShownDigits);
    unknown.append(u" ").append(shown.begin(), shown.end()).append(u" ").append(flows::texts::kSenderDigitsCut);
  }
  return unknown;
}

}  // namespace

std::u16string sender_label(const block::RecipientSender& sender, const KeyRing& keys,
                            block::CryptoProvider& crypto, Desktop& desktop) {
  std::u16string label = who(sender, keys, crypto);
  const std::optional<LocalTime> written = desktop.local_time(sender.written_at);
  if (!written) return label;
  // A full-width bracket already keeps the time apart.
  if (label.back() != u'）') label += u' ';
  label += block::filled(flows::texts::kSenderTime, {{"year", block::decimal(static_cast<unsigned>(written->year))},
                                                     {"month", two_digits(written->month)},
                                                     {"day", two_digits(written->day)},
                                                     {"hour", two_digits(written->hour)},
                                                     {"minute", two_digits(written->minute)}});
  return label;
}

}  // namespace quiren
