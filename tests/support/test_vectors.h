// The shapes of the shared test vectors in tests/vectors/*.json, as the C++
// tests and the Windows driver programs see them. The data itself comes
// from headers made from those files at build time (tests/vectors/
// vectors_to_cpp.py): "vectors/received_forms.h",
// "vectors/strong_envelopes.h", "vectors/sealed_blocks.h",
// "vectors/repair_cases.h", "vectors/runs.h", "vectors/key_blocks.h" and
// "vectors/recipient_blocks.h".
// tests/vectors/README.md describes the fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quiren::testing::vectors {

enum class BlockFormat { compatible, strong, recipient };

// A block exactly as its writer wrote it.
struct SourceBlock {
  std::string_view name;
  BlockFormat format;
  int width;
  std::u16string_view password;
  std::u16string_view text;  // the text it decrypts to, CR LF line breaks
  std::u16string_view block;
};

enum class Expect {
  source,   // reads as its source blocks, in order, each to its text
  damaged,  // its first block cannot be read, and the reader says where
};

enum class DamageKind {
  none,
  foreign_character,  // a character no block holds, at line and column
  short_line,         // a line shorter than the others
  length,             // the length is not whole armour groups; line is the block's last
};

struct Damage {
  DamageKind kind = DamageKind::none;
  std::size_t line = 0;    // from 1, in the received text
  std::size_t column = 0;  // from 1, in code points; foreign characters only
  char32_t character = 0;  // foreign characters only
};

struct ReceivedForm {
  std::string_view name;
  std::string_view transformation;
  std::span<const std::size_t> sources;  // indexes into kSourceBlocks
  std::u16string_view received;
  Expect expect;
  bool untouched;  // the received text is its source block as written
  Damage damage;   // when damaged
};

// One envelope of the strong known answers.
struct KnownEnvelope {
  std::string_view name;
  std::string_view text;      // UTF-8
  std::string_view password;  // UTF-8
  std::string_view envelope_hex;
  int width;
  std::u16string_view block;  // the envelope's block at `width`
};

// A strong block sealed with a fixed salt and nonce by an implementation of
// its own.
struct SealedBlock {
  std::string_view name;
  std::string_view text;          // UTF-8, what the block opens to
  std::string_view password;      // UTF-8, as typed
  std::string_view password_nfc;  // UTF-8, the password in NFC: the key's source
  int width;
  std::string_view envelope_hex;
  std::u16string_view block;
};

// A received text the repair puts back into the writer's form.
struct RewrittenCase {
  std::string_view name;
  std::u16string_view received;
  std::u16string_view repaired;
};

// A received text the repair leaves exactly as it stands.
struct UntouchedCase {
  std::string_view why;
  std::u16string_view received;
};

// A block as a run of the table of runs finished with it.
struct RunBlock {
  std::optional<BlockFormat> kind;  // none for a mode letter no version knows yet
  std::string_view outcome;  // its name, as block::outcome_name spells it
  std::u16string_view text;  // what it opened to, when opened
  std::string_view sender_hex;  // an opened recipient block's sender's public key
  std::uint64_t written_at;     // and the time written
};

// One decrypt run of the table of runs (runs.json).
struct RunCase {
  std::string_view name;
  std::u16string_view received;
  std::u16string_view password;   // as typed
  std::string_view secret_key_hex;  // the secret key the front end holds; empty for none
  std::span<const bool> answers;  // to the question before a long run, in turn: true goes on
  int cancel_after;               // the user cancels once this block is done; -1 never
  bool strong_only;               // compatible blocks are refused unread
  std::string_view end;           // how the run ended: done, at_block, no_block, rounds_refused, no_password
  std::span<const RunBlock> blocks;
  bool texts_kept;                      // the run keeps the texts of its blocks
  std::span<const std::uint64_t> rounds_asked;  // the rounds still to come, each time the question was asked
  int derivations;                      // key derivations made
  bool password_asked;                  // the front end was asked for the password
};

// One of the fixed key pairs the blocks of keys are made from.
struct KeyPerson {
  std::string_view name;
  std::string_view secret_hex;
  std::string_view public_hex;
  std::string_view digits;  // the public key's safety digits
};

// A key block as a writer writes it.
struct KeyBlockVector {
  std::string_view name;
  std::string_view key;  // the person's name in the table of people
  std::string_view public_hex;
  std::string_view holder_name_given;  // UTF-8, as the holder gave it
  std::string_view holder_name;        // UTF-8 in NFC, as the block holds it
  std::string_view digits;
  int width;
  std::string_view envelope_hex;
  std::u16string_view block;
};

// A key block changed or made by hand, and what a reader makes of it.
struct KeyBlockCase {
  std::string_view name;
  std::string_view envelope_hex;
  std::u16string_view block;  // framed at width 60
  std::string_view outcome;   // as block::outcome_name spells it
  std::string_view public_hex;   // when opened
  std::string_view holder_name;  // when opened
};

struct SecretKeyTextVector {
  std::string_view name;
  std::string_view key;
  std::string_view secret_hex;
  std::string_view text;  // the line, without a line break
};

// A secret key text sealed as a strong block with fixed parameters.
struct SealedSecretKey {
  std::string_view name;
  std::string_view key;
  std::string_view secret_hex;
  std::string_view text;
  std::string_view passphrase;      // UTF-8, as typed
  std::string_view passphrase_nfc;  // UTF-8 in NFC: the key's source
  int iterations;
  std::string_view salt_hex;
  std::string_view nonce_hex;
  int width;
  std::string_view envelope_hex;
  std::u16string_view block;
};

struct SecretKeyTextCase {
  std::string_view name;
  std::string_view text;
  std::string_view outcome;     // "opened" (giving secret_hex) or "damaged"
  std::string_view secret_hex;  // when opened
};

// A reader holding `key`'s secret key gives `outcome`.
struct KeyReadExpected {
  std::string_view key;
  std::string_view outcome;
};

// A recipient block sealed with every random input fixed.
struct RecipientBlockVector {
  std::string_view name;
  std::string_view text;  // UTF-8
  std::string_view sender;
  std::string_view sender_public_hex;
  std::string_view ephemeral_secret_hex;
  std::string_view ephemeral_public_hex;
  std::string_view text_key_hex;
  std::string_view nonce_hex;
  std::uint64_t written_at;
  std::span<const std::string_view> slot_order;      // the people, in slot order
  std::span<const std::string_view> recipients_hex;  // their public keys, in slot order
  int width;
  std::string_view envelope_hex;
  std::u16string_view block;
  std::span<const KeyReadExpected> reads;
};

// A recipient block made from the block named `source`.
struct RecipientCase {
  std::string_view name;
  std::string_view source;
  std::string_view why;
  bool has_envelope;  // false when the armour is not one a writer writes
  std::string_view envelope_hex;
  std::u16string_view block;  // framed at width 60
  std::span<const KeyReadExpected> reads;
};

}  // namespace quiren::testing::vectors
