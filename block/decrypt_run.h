// One decrypt run over the blocks of a received text, the same for the tray
// program and the tool (and for the reader page, which the shared table of
// runs, tests/vectors/runs.json, holds to it): once the first block proves
// readable, the secret key taken when the text holds a recipient block and
// the password asked when it holds a password block (compatible or strong),
// every block opened in turn, and their texts joined (kResultJoint between
// them; in place of a block that did not open, not_opened_text), within the
// run's budgets:
//   - the rounds of key derivation (kRoundBudget): before the first
//     derivation the readable strong blocks' rounds are added up, and above
//     the budget the front end is asked (before the password). Every
//     derivation made counts, and a run stops before one would pass what it
//     may spend: the front end is asked again, with the rounds still to come;
//   - the length of the texts (kLongestText): a strong block's length is
//     known before its key is derived, so one that would pass it costs none.
// A strong block's key comes from the password's NFC form (password_nfc.h).
// The form as typed is tried only on the first strong block of the run, only
// when it differs and the NFC form failed; every later block is tried under
// the form that opened the first (NFC when neither did), so a wrong password
// costs one derivation a block.
// A recipient block opens with the secret key alone (block/keys/): no
// password and no key derivation, so it spends no rounds; its report names
// the sender's public key and the time written. A key block holds no text:
// it is read (its checksum and name) and its report holds its key and name.
// Where only strong blocks are read (the tray's "強力な暗号文だけを読む", the
// tool's --strong-only), each readable compatible block is refused unread
// (compatible_refused): it gets no text and no password, and the run goes
// on past it, so a text holding only such blocks asks for none.
// A front end supplies the password, its secret key if it holds one, and
// the form a text is shown in, hears of each block as it starts and as it
// is done, and runs the key work through its JobRunner (on a worker thread,
// in the tray).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "block/armoured_block.h"
#include "block/background_job.h"
#include "block/block_decrypt.h"
#include "block/keys/key_block.h"
#include "block/keys/recipient_open.h"
#include "block/outcome.h"
#include "block/secret.h"
#include "block/strong/secret_key.h"

namespace quiren::block {

class CipherLibrary;
class CryptoProvider;

// One block as the run finished with it.
struct BlockReport {
  std::size_t index = 0;  // counted from 0 in the text
  BlockKind kind = BlockKind::compatible;
  Outcome outcome = Outcome::damaged;
  std::optional<RecipientSender> sender = {};  // a recipient block that opened: who wrote it, and when
  std::optional<KeyBlockContent> key = {};     // a key block that was read: its key and name
};

// A run about to spend more rounds of key derivation than it may unasked.
struct LongRun {
  std::uint64_t rounds = 0;          // every derivation of the run together, those made included
  std::uint64_t rounds_to_come = 0;  // of those, the ones still to make
  std::size_t strong_blocks = 0;     // the strong blocks still to open
};

class DecryptFrontEnd {
 public:
  virtual ~DecryptFrontEnd() = default;

  // Whether to spend the rounds: asked before a derivation that would take
  // the run past kRoundBudget, or past what was accepted before. False ends
  // the run (the front end has said why, if it needs saying).
  virtual bool accept_rounds(const LongRun& run) = 0;

  // The password, asked once, before the first block is opened, only when
  // that block is readable and the text holds a readable compatible or
  // strong block; `blocks` are all the blocks the text holds. nullopt ends
  // the run (the front end has said why).
  virtual std::optional<BlockPassword> password(std::span<const BlockItem> blocks) = 0;

  // The secret key recipient blocks are opened with, when the front end
  // holds one (it stays the front end's, and must outlive the run). Asked
  // once, before the password, only when the first block is readable and
  // the text holds a readable recipient block. Without one, each recipient
  // block is needs_key and the run goes on.
  virtual const SecretKey* secret_key() { return nullptr; }

  // Block `index` (from 0, of `count`) is about to be opened.
  virtual void block_starting(std::size_t /*index*/, std::size_t /*count*/) {}

  // A decrypted text as the front end shows it; nullopt when it cannot be
  // shown, which fails the run.
  virtual std::optional<SecretText> shown_text(const BlockResult& plain) = 0;

  // After each block, with every text joined so far.
  virtual void block_done(const BlockReport& /*report*/, const SecretText& /*joined*/) {}
};

// How a run ended. A block that ends it says why in its own outcome (the
// last report's); the rest are the run's own ends.
enum class RunEnd {
  done,            // every block took its place: its text, or not_opened_text
  at_block,        // a block's outcome ended it (reports.back()); the texts
                   // before it stay when keeps_earlier_texts says so
  no_block,        // the text holds no block
  rounds_refused,  // the front end would not spend the rounds: nothing is kept
  no_password,     // the front end gave none
  not_shown,       // the front end could not show a text: nothing is kept
};

struct RunResult {
  RunEnd end = RunEnd::done;
  SecretText text;        // the texts joined (empty when the run failed)
  std::size_t texts = 0;  // blocks that have their text, or not_opened_text, in `text`
  std::size_t not_opened = 0;  // of those, the ones that did not open (a wrong password, another key, no key)
  // The block the run stopped or failed at (counted from 0 in the text), so
  // a front end can say where a damaged one is damaged.
  std::size_t end_block = 0;
  std::size_t blocks = 0;             // the blocks the text holds, as read
  std::vector<BlockReport> reports;  // every block the run finished with, in order

  // The outcome of the block that ended the run (end is at_block).
  Outcome stopped_by() const { return reports.empty() ? Outcome::failed : reports.back().outcome; }
};

// Whether a run opens compatible blocks or refuses them unread.
enum class CompatibleBlocks { read, refuse };

// Of the blocks whose piece is in a run's text, those of `kind`.
std::size_t texts_of_kind(const RunResult& run, BlockKind kind);
// The blocks of a run with this outcome.
std::size_t blocks_with(const RunResult& run, Outcome outcome);

// What stands in a run's text in place of a block of `kind` that did not
// open but keeps its place (takes_its_place): for a wrong password, a
// compatible block's text as earlier versions write it, a strong block's
// that names a changed block too; a recipient block's that says it is not
// addressed to this key (or changed), or that it needs a key.
std::u16string_view not_opened_text(BlockKind kind, Outcome outcome);

// The blocks of a received text: the text repaired (received_text.h) and
// read (read_blocks), once for the whole run.
std::vector<BlockItem> read_received_blocks(std::u16string_view received);

// `runner` runs the key derivations (and says when the user cancelled);
// `crypto` is shared with those jobs, which a runner may leave running on a
// worker thread that outlives the run (the user cancelled).
RunResult run_decrypt(std::span<const BlockItem> blocks, DecryptFrontEnd& front_end, JobRunner& runner,
                      CipherLibrary& library, const std::shared_ptr<CryptoProvider>& crypto,
                      CompatibleBlocks compatible = CompatibleBlocks::read);

}  // namespace quiren::block
