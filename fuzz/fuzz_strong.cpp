// Strong envelopes and texts holding strong blocks. Keys are derived with
// PBKDF2 of one round, whatever an envelope asks (the seeds are made the
// same way, fuzz/strong-seeds.py), but every request is checked: no key is
// ever derived for an envelope the header check refuses, nor outside the
// readers' round bounds. The first byte chooses what the rest is:
//   0: an envelope, opened under "pw": a refused envelope derives nothing,
//      and none opens without a tag that verifies (only the seeds' do).
//   1: a received text in UTF-8, decrypted under "pw" by the decrypt run:
//      it derives at most once per readable strong block, and nothing when
//      the blocks ask for more rounds than the budget and the front end
//      declines; its counts add up.
//   2: a round trip: two bytes choose a place and a change, the rest is a
//      text (its invalid UTF-8 made valid), sealed under "pw". It must open
//      under "pw" to the same text, as an envelope and as a framed block in
//      a decrypt run; changed in one byte, cut short at the place, or under
//      another password it must never open.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "block/block_decrypt.h"
#include "block/block_rules.h"
#include "block/cipher_library.h"
#include "block/decrypt_run.h"
#include "block/strong/envelope_check.h"
#include "block/strong/envelope_layout.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_block.h"
#include "block/utf8.h"

namespace {

using namespace quiren::block;

void require(bool ok) {
  if (!ok) std::abort();
}

// The platform's cryptography with a one-round derivation that checks what
// it is asked.
class ProbeCrypto final : public CryptoProvider {
 public:
  bool random_bytes(std::span<std::uint8_t> out) override { return real_->random_bytes(out); }
  std::optional<SecretKey> derive_key(std::string_view password, std::span<const std::uint8_t> salt,
                                      std::uint32_t iterations) override {
    require(iterations >= kMinReadIterations && iterations <= kMaxReadIterations);
    ++derivations;
    return real_->derive_key(password, salt, 1);
  }
  bool seal(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce, std::span<const std::uint8_t> aad,
            std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> out) override {
    return real_->seal(key, nonce, aad, plaintext, out);
  }
  AeadStatus open(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                  std::span<const std::uint8_t> aad, std::span<const std::uint8_t> ciphertext_and_tag,
                  std::span<std::uint8_t> plaintext_out) override {
    return real_->open(key, nonce, aad, ciphertext_and_tag, plaintext_out);
  }
  std::optional<X25519KeyPair> generate_x25519_key_pair() override { return real_->generate_x25519_key_pair(); }
  std::optional<X25519PublicKey> x25519_public_key(const SecretKey& secret) override {
    return real_->x25519_public_key(secret);
  }
  X25519Agreement x25519_agree(const SecretKey& secret,
                               std::span<const std::uint8_t, kX25519KeySize> peer_public) override {
    return real_->x25519_agree(secret, peer_public);
  }
  bool hkdf_sha256(std::span<const std::uint8_t> input_key_material, std::span<const std::uint8_t> salt,
                   std::span<const std::uint8_t> info, std::span<std::uint8_t> out) override {
    return real_->hkdf_sha256(input_key_material, salt, info, out);
  }
  std::optional<Sha256Digest> sha256(std::span<const std::uint8_t> data) override { return real_->sha256(data); }

  int derivations = 0;

 private:
  std::unique_ptr<CryptoProvider> real_ = platform_crypto();
};

// Texts here hold strong blocks; a compatible block met on the way is
// never opened.
struct NoCipher final : CipherLibrary {
  std::optional<std::string> encrypt(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<SecretBytes> decrypt(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
};

struct FuzzFrontEnd final : DecryptFrontEnd {
  bool accept_rounds(const LongRun& run) override {
    require(run.rounds > kRoundBudget && run.rounds_to_come <= run.rounds && run.strong_blocks > 0);
    return accept_long_runs;
  }
  std::optional<BlockPassword> password(std::span<const BlockItem>) override {
    return BlockPassword{SecretBytes(std::string_view("pw")), SecretBytes(std::string_view("pw"))};
  }
  std::optional<SecretText> shown_text(const BlockResult& plain) override {
    require(plain.encoding == TextEncoding::utf8);
    const std::optional<std::u16string> text = utf16_from_utf8(plain.text.view());
    require(text.has_value());
    return SecretText(*text);
  }
  bool accept_long_runs = false;
};

bool readable(std::span<const std::uint8_t> envelope) {
  return !check_envelope(envelope).problem;
}

void envelope(std::span<const std::uint8_t> bytes) {
  ProbeCrypto crypto;
  const OpenResult opened = open_envelope(crypto, bytes, "pw");
  require(crypto.derivations == (readable(bytes) ? 1 : 0));
  if (opened.outcome == Outcome::opened) require(is_valid_utf8(opened.text.view()));
  else require(opened.text.empty());
}

// UTF-8 as it stands, each byte of an invalid sequence as U+FFFD.
std::u16string lenient(std::string_view bytes) {
  if (std::optional<std::u16string> text = utf16_from_utf8(bytes)) return *text;
  std::u16string text;
  for (char c : bytes) text += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\uFFFD';
  return text;
}

void received(std::string_view bytes, bool accept_long_runs) {
  const std::u16string text = lenient(bytes);
  const auto crypto = std::make_shared<ProbeCrypto>();
  NoCipher cipher;
  FuzzFrontEnd front_end;
  front_end.accept_long_runs = accept_long_runs;
  const std::vector<BlockItem> blocks = read_received_blocks(text);
  RunHere here;
  const RunResult run = run_decrypt(blocks, front_end, here, cipher, crypto);
  std::size_t strong = 0;
  for (const BlockReport& report : run.reports) strong += report.kind == BlockKind::strong ? 1 : 0;
  // One derivation a strong block, and one more (the password as typed) at
  // most once a run; "pw" is in NFC, so never here.
  require(static_cast<std::size_t>(crypto->derivations) <= strong);
  if (run.end == RunEnd::rounds_refused) require(crypto->derivations == 0);
  require(run.texts <= run.blocks && run.not_opened <= run.texts);
  require(texts_of_kind(run, BlockKind::strong) + texts_of_kind(run, BlockKind::compatible) == run.texts);
  if (run.end == RunEnd::done) require(run.texts == run.blocks);
}

bool opens(std::span<const std::uint8_t> bytes, std::string_view password) {
  ProbeCrypto crypto;
  return open_envelope(crypto, bytes, password).outcome == Outcome::opened;
}

void round_trip(std::span<const std::uint8_t> data) {
  if (data.size() < 2) return;
  const std::uint8_t place = data[0];
  const std::uint8_t change = data[1] == 0 ? 1 : data[1];
  const std::string_view raw(reinterpret_cast<const char*>(data.data() + 2), data.size() - 2);
  const std::string text = utf8_from_utf16(lenient(raw));

  ProbeCrypto crypto;
  const SealResult sealed = seal_envelope(crypto, text, "pw");
  require(sealed.status == SealStatus::sealed);
  const std::vector<std::uint8_t>& e = sealed.envelope;
  const OpenResult opened = open_envelope(crypto, e, "pw");
  require(opened.outcome == Outcome::opened && opened.text.view() == text);

  std::vector<std::uint8_t> changed = e;
  changed[place % changed.size()] ^= change;
  require(!opens(changed, "pw"));
  require(!opens(std::span(e).first(place % e.size()), "pw"));
  require(!opens(e, "pW"));

  // The same as a block among others, in a decrypt run.
  const std::u16string framed = frame_strong_envelope(e, kNarrowestWrap + place % (kWidestWrap - kNarrowestWrap));
  const auto shared = std::make_shared<ProbeCrypto>();
  NoCipher cipher;
  FuzzFrontEnd front_end;
  const std::vector<BlockItem> blocks = read_received_blocks(u"Re:\r\n" + framed + u"\r\n" + framed);
  RunHere here;
  const RunResult run = run_decrypt(blocks, front_end, here, cipher, shared);
  require(run.end == RunEnd::done && run.texts == 2 && run.not_opened == 0);
  const std::u16string shown = *utf16_from_utf8(text);
  require(run.text.view() == shown + std::u16string(kResultJoint) + shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  switch (data[0] % 4) {
    case 0:
      envelope(rest);
      break;
    case 1:
    case 3:
      received(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()), data[0] % 4 == 3);
      break;
    default:
      round_trip(rest);
      break;
  }
  return 0;
}
