// One decrypt run over a received text, the same for the tray program and
// the tool: the text repaired and read, the password asked once the first
// block proves readable, every block opened in turn under it, and their
// texts joined (kResultJoint between them, the wrong-password text in place
// of a block whose check fails) within the run's budget. A front end
// supplies the password and the form a text is shown in, and hears of each
// block as it is done.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "block/armoured_block.h"
#include "block/block_decrypt.h"
#include "block/secret.h"

namespace quiren::block {

// One block as the run finished with it.
struct BlockReport {
  std::size_t index = 0;  // counted from 0 in the text
  BlockKind kind = BlockKind::compatible;
  BlockOutcomeKind outcome = BlockOutcomeKind::unreadable;
};

class DecryptFrontEnd {
 public:
  virtual ~DecryptFrontEnd() = default;

  // The password, asked once, before the first block is opened and only
  // when that block is readable; `blocks` are all the blocks the text
  // holds. nullopt ends the run (the front end has said why).
  virtual std::optional<BlockPassword> password(std::span<const BlockItem> blocks) = 0;

  // Opens one block: a separate step, since a strong block derives its key
  // and that takes a while. At once here; a front end may show that it
  // waits.
  virtual BlockOutcome open(const BlockItem& item, BlockOpener& opener) { return opener.open(item); }

  // A decrypted text as the front end shows it; nullopt when it cannot be
  // shown, which fails the run.
  virtual std::optional<SecretText> shown_text(const BlockOutcome& plain) = 0;

  // After each block, with every text joined so far.
  virtual void block_done(const BlockReport& /*report*/, const SecretText& /*joined*/) {}
};

enum class RunEnd {
  done,         // every block was opened
  no_block,     // the text holds no block
  no_password,  // the front end gave none
  // The run stops at a block it cannot open and keeps the texts before it.
  version_cannot_read,
  needs_shared_table,
  over_budget,
  // The run fails and keeps nothing.
  unreadable,      // a damaged block
  library_failed,  // the library or the platform's cryptography failed
  not_shown,       // the front end could not show a text
};

struct RunResult {
  RunEnd end = RunEnd::done;
  SecretText text;        // the texts joined (empty when the run failed)
  std::size_t texts = 0;  // blocks that have their text, or the wrong-password text, in `text`
  std::size_t wrong = 0;  // of those, the ones whose password check failed
  // The block the run stopped or failed at (counted from 0 in the text), so
  // a front end can say where a damaged one is damaged.
  std::size_t end_block = 0;
};

RunResult run_decrypt(std::u16string_view received, DecryptFrontEnd& front_end, CipherLibrary& library,
                      CryptoProvider& crypto);

}  // namespace quiren::block
