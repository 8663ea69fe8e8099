#include "tray/keys/stored_contacts.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>

#include "block/keys/key_name.h"
#include "block/utf8.h"
#include "tray/core/stored_public_key.h"

namespace quiren::keys {
namespace {

std::optional<Contact> read_line(std::u16string_view line) {
  const std::size_t key_end = line.find(u' ');
  if (key_end == std::u16string_view::npos || line.size() < key_end + 3 || line[key_end + 2] != u' ') {
    return std::nullopt;
  }
  const char16_t mark = line[key_end + 1];
  if (mark != u'0' && mark != u'1') return std::nullopt;
  const std::optional<block::X25519PublicKey> key = read_stored_public_key(line.substr(0, key_end));
  if (!key) return std::nullopt;
  Contact contact;
  contact.public_key = *key;
  contact.confirmed = mark == u'1';
  contact.name = std::u16string(line.substr(key_end + 3));
  if (!block::is_written_key_name(block::utf8_from_utf16(contact.name))) return std::nullopt;
  return contact;
}

}  // namespace

std::u16string stored_contacts_text(const std::vector<Contact>& contacts) {
  std::u16string text;
  for (const Contact& contact : contacts) {
    if (!text.empty()) text += u'\n';
    text += stored_public_key(contact.public_key);
    text += contact.confirmed ? u" 1 " : u" 0 ";
    text += contact.name;
  }
  return text;
}

std::vector<Contact> read_stored_contacts(std::u16string_view text) {
  std::vector<Contact> contacts;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(u'\n'), text.size());
    if (std::optional<Contact> contact = read_line(text.substr(0, end))) {
      const bool repeated = std::any_of(contacts.begin(), contacts.end(),
                                        [&](const Contact& held) { return held.public_key == contact->public_key; });
      if (!repeated) contacts.push_back(std::move(*contact));
    }
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return contacts;
}

}  // namespace quiren::keys
