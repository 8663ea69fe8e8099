#include "block/decrypt_run.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "block/block_rules.h"
#include "block/keys/keys_layout.h"
#include "block/keys/recipient_check.h"
#include "block/password_nfc.h"
#include "block/received_text.h"
#include "block/strong/envelope_check.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_jobs.h"

namespace quiren::block {

namespace {

bool readable_strong(const BlockItem& item) { return !item.problem && item.kind == BlockKind::strong; }

// The rounds of key derivation a run has spent and may spend. One
// derivation is planned for each readable strong block; the password as
// typed may add one more, on the first strong block.
class RoundAccount {
 public:
  explicit RoundAccount(std::span<const BlockItem> blocks)
      : planned_from_(blocks.size() + 1, 0), strong_from_(blocks.size() + 1, 0) {
    for (std::size_t i = blocks.size(); i-- > 0;) {
      const bool strong = readable_strong(blocks[i]);
      planned_from_[i] = planned_from_[i + 1] + (strong ? check_envelope(blocks[i].envelope).iterations : 0);
      strong_from_[i] = strong_from_[i + 1] + (strong ? 1 : 0);
    }
  }

  // Whether a derivation of block `index` may begin (or, before the
  // password, whether the run may begin at all): with the derivations still
  // planned from that block on, the run must stay within what it may
  // spend, or the front end must accept more.
  bool may_derive(std::size_t index, DecryptFrontEnd& front_end) {
    const std::uint64_t to_come = planned_from_[index];
    const std::uint64_t needed = spent_ + to_come;
    if (needed <= allowed_) return true;
    if (!front_end.accept_rounds({needed, to_come, strong_from_[index]})) return false;
    allowed_ = needed;
    return true;
  }

  void spend(std::uint32_t rounds) { spent_ += rounds; }

 private:
  std::vector<std::uint64_t> planned_from_;  // by block: one derivation for each readable strong block from it on
  std::vector<std::size_t> strong_from_;
  std::uint64_t spent_ = 0;
  std::uint64_t allowed_ = kRoundBudget;
};

class Run {
 public:
  Run(std::span<const BlockItem> blocks, DecryptFrontEnd& front_end, JobRunner& runner, CipherLibrary& library,
      const std::shared_ptr<CryptoProvider>& crypto, CompatibleBlocks compatible)
      : blocks_(blocks), front_end_(front_end), runner_(runner), library_(library), crypto_(crypto),
        rounds_(blocks), refuses_compatible_(compatible == CompatibleBlocks::refuse) {}

  RunResult go() {
    result_.blocks = blocks_.size();
    if (blocks_.empty()) return ended(RunEnd::no_block);
    // The user may have cancelled (the program may be ending) while a front
    // end's question or prompt was open: the run starts nothing after that.
    if (runner_.cancelled()) return stopped(0, Outcome::cancelled);
    // Refused blocks ahead of the first block to open are passed over
    // first: a text of nothing else asks for no key and no password.
    std::size_t first = 0;
    for (; first < blocks_.size() && refused(first); ++first) report_refused(first);
    if (first == blocks_.size()) return ended(RunEnd::done);
    // A first block that cannot be read asks for nothing: no key, no password.
    if (blocks_[first].problem) return stopped(first, *blocks_[first].problem);
    // Counted before anything is derived, so a text of crafted blocks cannot
    // hold the user up unasked.
    if (!rounds_.may_derive(first, front_end_)) return ended(RunEnd::rounds_refused);
    if (runner_.cancelled()) return stopped(first, Outcome::cancelled);
    if (opens_any({BlockKind::recipient})) secret_key_ = front_end_.secret_key();
    if (opens_any({BlockKind::compatible, BlockKind::strong})) {
      std::optional<BlockPassword> password = front_end_.password(blocks_);
      if (runner_.cancelled()) return stopped(first, Outcome::cancelled);
      if (!password) return ended(RunEnd::no_password);
      take(std::move(*password));
    }

    for (std::size_t i = first; i < blocks_.size(); ++i) {
      if (runner_.cancelled()) return stopped(i, Outcome::cancelled);
      front_end_.block_starting(i, blocks_.size());
      if (refused(i)) {
        report_refused(i);
        continue;
      }
      BlockReport done{i, blocks_[i].kind, Outcome::damaged};
      std::optional<BlockResult> block = open(i, done);
      if (!block) return ended(RunEnd::rounds_refused);
      if (block->outcome == Outcome::opened && block->text.size() > kLongestText - given_back_) {
        block = BlockResult{Outcome::over_limit};
      }
      if (!takes_its_place(block->outcome)) return stopped(i, block->outcome);
      done.outcome = block->outcome;
      // A key block holds no text to take a place with.
      if (done.kind != BlockKind::key && !place(i, std::move(*block))) return ended(RunEnd::not_shown);
      report(done);
    }
    return ended(RunEnd::done);
  }

 private:
  void take(BlockPassword password) {
    ansi_ = std::move(password.ansi);
    typed_ = std::move(password.utf8);
    std::optional<SecretBytes> nfc = nfc_utf8(typed_.view());
    nfc_ = nfc ? std::move(*nfc) : typed_.copy();
    typed_differs_ = nfc_.view() != typed_.view();
  }

  // The block's text, or the text that says why it did not open, joined to
  // the run's; false when the front end could not show a text.
  bool place(std::size_t i, BlockResult block) {
    given_back_ += block.text.size();
    std::optional<SecretText> piece;
    if (block.outcome != Outcome::opened) {
      piece.emplace(not_opened_text(blocks_[i].kind, block.outcome));
      ++result_.not_opened;
    } else {
      piece = front_end_.shown_text(block);
      if (!piece) {
        result_.end_block = i;
        return false;
      }
    }
    if (result_.texts > 0) result_.text.append(kResultJoint);
    result_.text.append(piece->view());
    ++result_.texts;
    return true;
  }

  // The block's result, and in `done` what its report holds besides;
  // nullopt when the front end would not spend the rounds its key asks for.
  std::optional<BlockResult> open(std::size_t i, BlockReport& done) {
    const BlockItem& item = blocks_[i];
    if (item.problem) return BlockResult{*item.problem};
    switch (item.kind) {
      case BlockKind::compatible:
        return decrypt_compatible(item.fields, ansi_.view(), library_);
      case BlockKind::strong:
        return open_strong(i);
      case BlockKind::key: {
        KeyBlockRead read = read_key_envelope(*crypto_, item.envelope);
        if (read.outcome == Outcome::opened) done.key = std::move(read.content);
        return BlockResult{read.outcome};
      }
      case BlockKind::recipient:
        return open_recipient(item, done);
    }
    return BlockResult{Outcome::failed};
  }

  BlockResult open_recipient(const BlockItem& item, BlockReport& done) {
    if (!secret_key_) return BlockResult{Outcome::needs_key};
    const CheckedRecipientEnvelope parts = check_recipient_envelope(item.envelope);
    if (parts.sealed_text.size() - kShortestSealedText > kLongestText - given_back_) {
      return BlockResult{Outcome::over_limit};
    }
    RecipientOpened opened = open_recipient_envelope(*crypto_, item.envelope, *secret_key_);
    if (opened.outcome == Outcome::opened) done.sender = opened.sender;
    return BlockResult{opened.outcome, std::move(opened.text), TextEncoding::utf8};
  }

  std::optional<BlockResult> open_strong(std::size_t i) {
    const CheckedEnvelope parts = check_envelope(blocks_[i].envelope);
    if (parts.ciphertext_and_tag.size() - kTagSize > kLongestText - given_back_) return BlockResult{Outcome::over_limit};
    const bool first = !form_settled_;
    if (!rounds_.may_derive(i, front_end_)) return std::nullopt;
    std::optional<OpenResult> opened = derive(i, parts.iterations, typed_opens_ ? typed_ : nfc_);
    if (!opened) return BlockResult{Outcome::cancelled};
    if (first && opened->outcome == Outcome::wrong_password && typed_differs_) {
      // Sealed before keys came from NFC, perhaps: the password as typed.
      if (!rounds_.may_derive(i, front_end_)) return std::nullopt;
      opened = derive(i, parts.iterations, typed_);
      if (!opened) return BlockResult{Outcome::cancelled};
      typed_opens_ = opened->outcome == Outcome::opened;
    }
    form_settled_ = true;
    return BlockResult{opened->outcome, std::move(opened->text), TextEncoding::utf8};
  }

  // One key derivation of `rounds` for block `i` under `form`, and the
  // envelope opened with it; nullopt when the user cancelled.
  std::optional<OpenResult> derive(std::size_t i, std::uint32_t rounds, const SecretBytes& form) {
    const auto job = std::make_shared<OpenStrongJob>(crypto_, blocks_[i].envelope, form.copy());
    rounds_.spend(rounds);
    if (!runner_.run(job)) return std::nullopt;
    return job->take_result();
  }

  // A readable compatible block where only strong blocks are read.
  bool refused(std::size_t i) const {
    return refuses_compatible_ && !blocks_[i].problem && blocks_[i].kind == BlockKind::compatible;
  }

  void report_refused(std::size_t i) { report({i, BlockKind::compatible, Outcome::compatible_refused}); }

  // Whether the run will open a block of one of `kinds`: a readable one it
  // does not refuse. Only then is the key or the password asked for.
  bool opens_any(std::initializer_list<BlockKind> kinds) const {
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
      const bool of_kind = std::find(kinds.begin(), kinds.end(), blocks_[i].kind) != kinds.end();
      if (of_kind && !blocks_[i].problem && !refused(i)) return true;
    }
    return false;
  }

  void report(BlockReport block) {
    result_.reports.push_back(std::move(block));
    front_end_.block_done(result_.reports.back(), result_.text);
  }

  RunResult stopped(std::size_t i, Outcome outcome) {
    report({i, blocks_[i].kind, outcome});
    result_.end_block = i;
    return ended(RunEnd::at_block);
  }

  RunResult ended(RunEnd end) {
    result_.end = end;
    const bool keeps = end == RunEnd::at_block ? keeps_earlier_texts(result_.stopped_by()) : end == RunEnd::done;
    if (!keeps) {
      result_.text.clear();
      result_.texts = 0;
      result_.not_opened = 0;
    }
    return std::move(result_);
  }

  std::span<const BlockItem> blocks_;
  DecryptFrontEnd& front_end_;
  JobRunner& runner_;
  CipherLibrary& library_;
  const std::shared_ptr<CryptoProvider>& crypto_;
  RoundAccount rounds_;
  const bool refuses_compatible_;
  const SecretKey* secret_key_ = nullptr;  // the front end's, for recipient blocks
  SecretBytes ansi_;
  SecretBytes typed_;
  SecretBytes nfc_;
  bool typed_differs_ = false;
  bool form_settled_ = false;  // the first strong block has been tried
  bool typed_opens_ = false;   // it opened under the password as typed
  std::size_t given_back_ = 0;  // bytes of text so far
  RunResult result_;
};

}  // namespace

std::u16string_view not_opened_text(BlockKind kind, Outcome outcome) {
  if (outcome == Outcome::not_for_this_key) return kNotForThisKeyText;
  if (outcome == Outcome::needs_key) return kNeedsKeyText;
  switch (kind) {
    case BlockKind::compatible:
      return kWrongPasswordText;
    case BlockKind::strong:
    case BlockKind::key:
    case BlockKind::recipient:
      break;
  }
  return kStrongNotOpenedText;
}

std::size_t texts_of_kind(const RunResult& run, BlockKind kind) {
  // A run that failed kept no text, whatever its blocks gave before.
  if (run.texts == 0) return 0;
  std::size_t n = 0;
  for (const BlockReport& block : run.reports) {
    // A key block has no piece of its own.
    if (takes_its_place(block.outcome) && block.kind == kind && kind != BlockKind::key) ++n;
  }
  return n;
}

std::size_t blocks_with(const RunResult& run, Outcome outcome) {
  std::size_t n = 0;
  for (const BlockReport& block : run.reports) {
    if (block.outcome == outcome) ++n;
  }
  return n;
}

std::vector<BlockItem> read_received_blocks(std::u16string_view received) {
  return read_blocks(repair_received_text(received));
}

RunResult run_decrypt(std::span<const BlockItem> blocks, DecryptFrontEnd& front_end, JobRunner& runner,
                      CipherLibrary& library, const std::shared_ptr<CryptoProvider>& crypto,
                      CompatibleBlocks compatible) {
  return Run(blocks, front_end, runner, library, crypto, compatible).go();
}

}  // namespace quiren::block
