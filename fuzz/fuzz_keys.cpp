// Recipient envelopes, key blocks and key files: what a reader is handed
// from a mail. The first byte chooses what the rest is:
//   0: a recipient envelope, opened with a fixed secret key (the vectors'
//      bob, whom the seeds, fuzz/keys-seeds.py, are sealed for): an envelope
//      the key-free checks refuse comes to that outcome without a key; no
//      envelope opens without a verified slot and text, and one that opens
//      names the sender in its header and gives valid UTF-8; no other
//      outcome gives a text.
//   1: a key envelope: one that reads is whole (39 + its name's length),
//      its name one a writer writes, and writing it again gives the same
//      bytes.
//   2: a received text: its blocks read and every key and recipient block
//      among them opened with bob's key, as the decrypt run does; and the
//      same text as a key file, which gives a key only as the line a writer
//      writes or a strong block to open.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "block/armoured_block.h"
#include "block/decrypt_run.h"
#include "block/keys/key_block.h"
#include "block/keys/key_file.h"
#include "block/keys/keys_layout.h"
#include "block/keys/recipient_check.h"
#include "block/keys/recipient_open.h"
#include "block/utf8.h"

namespace {

using namespace quiren::block;

void require(bool ok) {
  if (!ok) std::abort();
}

// RFC 7748's Bob, as in the shared vectors.
SecretKey bob() {
  static constexpr std::uint8_t kBob[kKeySize] = {
      0x5d, 0xab, 0x08, 0x7e, 0x62, 0x4a, 0x8a, 0x4b, 0x79, 0xe1, 0x7f, 0x8b, 0x83, 0x80, 0x0e, 0xe6,
      0x6f, 0x3b, 0xb1, 0x29, 0x26, 0x18, 0xb6, 0xfd, 0x1c, 0x2f, 0x8b, 0x27, 0xff, 0x88, 0xe0, 0xeb};
  SecretKey key;
  std::copy(std::begin(kBob), std::end(kBob), key.writable_bytes().begin());
  return key;
}

void recipient_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope) {
  const CheckedRecipientEnvelope checked = check_recipient_envelope(envelope);
  const RecipientOpened opened = open_recipient_envelope(crypto, envelope, bob());
  if (checked.problem) require(opened.outcome == *checked.problem);
  if (opened.outcome != Outcome::opened) {
    require(opened.text.empty());
    return;
  }
  require(!checked.problem && is_valid_utf8(opened.text.view()));
  require(std::equal(opened.sender.public_key.begin(), opened.sender.public_key.end(),
                     envelope.begin() + kSenderOffset));
  require(opened.text.size() == envelope.size() - kRecipientHeaderSize - checked.count * kSlotSize -
                                    kShortestSealedText);
}

void key_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope) {
  const KeyBlockRead read = read_key_envelope(crypto, envelope);
  if (read.outcome != Outcome::opened) return;
  require(envelope.size() == kShortestKeyEnvelope + read.content.name.size());
  require(is_written_key_name(read.content.name));
  const KeyEnvelopeWrite again = write_key_envelope(crypto, read.content.public_key, read.content.name);
  require(std::equal(again.envelope.begin(), again.envelope.end(), envelope.begin(), envelope.end()));
}

void received_text(CryptoProvider& crypto, std::string_view bytes) {
  const std::u16string text = utf16_from_utf8(bytes).value_or(std::u16string(bytes.begin(), bytes.end()));
  for (const BlockItem& item : read_received_blocks(text)) {
    if (item.problem) {
      require(item.envelope.empty());
      continue;
    }
    if (item.kind == BlockKind::recipient) recipient_envelope(crypto, item.envelope);
    if (item.kind == BlockKind::key) key_envelope(crypto, item.envelope);
  }
  const KeyFileText file = read_key_file_text(bytes);
  require(file.key.has_value() == (file.form == KeyFileForm::bare));
  if (file.form == KeyFileForm::sealed) require(file.problem.has_value() == file.envelope.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const std::unique_ptr<CryptoProvider> crypto = platform_crypto();
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      recipient_envelope(*crypto, rest);
      break;
    case 1:
      key_envelope(*crypto, rest);
      break;
    default:
      received_text(*crypto, std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()));
      break;
  }
  return 0;
}
