// One decrypt run over a received text, the same for the tray program and
// the tool: the text repaired and read, the password asked once the first
// block proves readable, every block opened in turn under it, and their
// texts joined (kResultJoint between them, the wrong-password text in place
// of a block whose check fails) within the run's budgets: the rounds of key
// derivation its strong blocks ask for (kRoundBudget, asked about before the
// password) and the length of the texts (kLongestText). A front end
// supplies the password and the form a text is shown in, and hears of each
// block as it is done.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_decrypt.h"
#include "block/secret.h"

namespace quiren::block {

// One block as the run finished with it.
struct BlockReport {
  std::size_t index = 0;  // counted from 0 in the text
  BlockKind kind = BlockKind::compatible;
  Outcome outcome = Outcome::damaged;
};

class DecryptFrontEnd {
 public:
  virtual ~DecryptFrontEnd() = default;

  // Before the password, when the text's strong blocks ask for more than
  // kRoundBudget rounds of key derivation together: whether to spend them.
  // False ends the run (the front end has said why, if it needs saying).
  virtual bool accept_rounds(std::uint64_t /*rounds*/, std::size_t /*strong_blocks*/) { return true; }

  // The password, asked once, before the first block is opened and only
  // when that block is readable; `blocks` are all the blocks the text
  // holds. nullopt ends the run (the front end has said why).
  virtual std::optional<BlockPassword> password(std::span<const BlockItem> blocks) = 0;

  // Opens block `index` (from 0, of `count`): a separate step, since a
  // strong block derives its key and that takes a while. At once here; a
  // front end may hand the key work to a worker thread and show that it
  // waits (BlockOpener::open with its own JobRunner).
  virtual BlockResult open(const BlockItem& item, std::size_t /*index*/, std::size_t /*count*/,
                           BlockOpener& opener) {
    return opener.open(item);
  }

  // A decrypted text as the front end shows it; nullopt when it cannot be
  // shown, which fails the run.
  virtual std::optional<SecretText> shown_text(const BlockResult& plain) = 0;

  // After each block, with every text joined so far.
  virtual void block_done(const BlockReport& /*report*/, const SecretText& /*joined*/) {}
};

// How a run ended. A block that ends it says why in its own outcome (the
// last report's); the rest are the run's own ends.
enum class RunEnd {
  done,            // every block took its place: its text, or the wrong-password text
  at_block,        // a block's outcome ended it (reports.back()); the texts
                   // before it stay when keeps_earlier_texts says so
  no_block,        // the text holds no block
  rounds_refused,  // the front end would not spend the rounds the blocks ask for
  no_password,     // the front end gave none
  not_shown,       // the front end could not show a text: nothing is kept
};

struct RunResult {
  RunEnd end = RunEnd::done;
  SecretText text;        // the texts joined (empty when the run failed)
  std::size_t texts = 0;  // blocks that have their text, or the wrong-password text, in `text`
  std::size_t wrong = 0;  // of those, the ones whose password check failed
  // The block the run stopped or failed at (counted from 0 in the text), so
  // a front end can say where a damaged one is damaged.
  std::size_t end_block = 0;
  std::size_t blocks = 0;             // the blocks the text holds, as read
  std::vector<BlockReport> reports;  // every block the run finished with, in order

  // The outcome of the block that ended the run (end is at_block).
  Outcome stopped_by() const { return reports.empty() ? Outcome::failed : reports.back().outcome; }
};

// Of the blocks whose piece is in a run's text, those of `kind`.
std::size_t texts_of_kind(const RunResult& run, BlockKind kind);

// The rounds of key derivation the readable strong blocks among `blocks`
// ask for together.
std::uint64_t rounds_asked(std::span<const BlockItem> blocks);

// `crypto` is shared with the jobs that derive keys, which a front end may
// run on a worker thread that outlives the run (the user cancelled).
RunResult run_decrypt(std::u16string_view received, DecryptFrontEnd& front_end, CipherLibrary& library,
                      const std::shared_ptr<CryptoProvider>& crypto);

}  // namespace quiren::block
