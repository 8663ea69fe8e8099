#include "block/decrypt_run.h"

#include <algorithm>
#include <vector>

#include "block/block_rules.h"
#include "block/received_text.h"
#include "block/strong/envelope_check.h"

namespace quiren::block {

namespace {

// Why a run ends at a block that gave no text; nullopt for one that did.
std::optional<RunEnd> end_at(BlockOutcomeKind outcome) {
  switch (outcome) {
    case BlockOutcomeKind::plain_text:
    case BlockOutcomeKind::wrong_password:
      return std::nullopt;
    case BlockOutcomeKind::version_cannot_read:
      return RunEnd::version_cannot_read;
    case BlockOutcomeKind::refused_settings:
      return RunEnd::refused_settings;
    case BlockOutcomeKind::cancelled:
      return RunEnd::cancelled;
    case BlockOutcomeKind::needs_shared_table:
      return RunEnd::needs_shared_table;
    case BlockOutcomeKind::over_budget:
      return RunEnd::over_budget;
    case BlockOutcomeKind::library_failed:
      return RunEnd::library_failed;
    case BlockOutcomeKind::unreadable:
      break;
  }
  return RunEnd::unreadable;
}

bool keeps_text(RunEnd end) {
  return end != RunEnd::unreadable && end != RunEnd::library_failed && end != RunEnd::not_shown &&
         end != RunEnd::cancelled;
}

void report(RunResult& result, DecryptFrontEnd& front_end, const BlockReport& block) {
  result.reports.push_back(block);
  front_end.block_done(block, result.text);
}

RunResult ended(RunResult result, RunEnd end) {
  result.end = end;
  if (!keeps_text(end)) {
    result.text.clear();
    result.texts = 0;
    result.wrong = 0;
  }
  return result;
}

}  // namespace

std::size_t texts_of_kind(const RunResult& run, BlockKind kind) {
  // A run that failed kept no text, whatever its blocks gave before.
  if (run.texts == 0) return 0;
  std::size_t n = 0;
  for (const BlockReport& block : run.reports) {
    const bool in_text =
        block.outcome == BlockOutcomeKind::plain_text || block.outcome == BlockOutcomeKind::wrong_password;
    if (in_text && block.kind == kind) ++n;
  }
  return n;
}

std::uint64_t rounds_asked(std::span<const BlockItem> blocks) {
  std::uint64_t rounds = 0;
  for (const BlockItem& item : blocks) {
    if (item.problem != BlockProblem::none || item.kind != BlockKind::strong) continue;
    rounds += check_envelope(item.envelope).iterations;
  }
  return rounds;
}

RunResult run_decrypt(std::u16string_view received, DecryptFrontEnd& front_end, CipherLibrary& library,
                      const std::shared_ptr<CryptoProvider>& crypto) {
  RunResult result;
  const std::vector<BlockItem> blocks = read_blocks(repair_received_text(received));
  result.blocks = blocks.size();
  if (blocks.empty()) return ended(std::move(result), RunEnd::no_block);

  // A first block that cannot be read asks for no password.
  const BlockItem& first = blocks.front();
  if (const std::optional<BlockOutcomeKind> outcome = outcome_of_problem(first.problem)) {
    report(result, front_end, {0, first.kind, *outcome});
    result.end_block = 0;
    return ended(std::move(result), *end_at(*outcome));
  }
  // Counted before anything is derived, so a text of crafted blocks cannot
  // hold the user up unasked.
  if (const std::uint64_t rounds = rounds_asked(blocks); rounds > kRoundBudget) {
    const auto strong = std::count_if(blocks.begin(), blocks.end(), [](const BlockItem& item) {
      return item.problem == BlockProblem::none && item.kind == BlockKind::strong;
    });
    if (!front_end.accept_rounds(rounds, static_cast<std::size_t>(strong))) {
      return ended(std::move(result), RunEnd::rounds_refused);
    }
  }
  std::optional<BlockPassword> password = front_end.password(blocks);
  if (!password) return ended(std::move(result), RunEnd::no_password);
  BlockOpener opener(std::move(*password), library, crypto);

  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const BlockOutcome outcome = front_end.open(blocks[i], i, blocks.size(), opener);
    const BlockReport block{i, blocks[i].kind, outcome.kind};
    if (const std::optional<RunEnd> end = end_at(outcome.kind)) {
      report(result, front_end, block);
      result.end_block = i;
      return ended(std::move(result), *end);
    }
    std::optional<SecretText> piece;
    if (outcome.kind == BlockOutcomeKind::wrong_password) {
      piece.emplace(kWrongPasswordText);
      ++result.wrong;
    } else {
      piece = front_end.shown_text(outcome);
      if (!piece) {
        result.end_block = i;
        return ended(std::move(result), RunEnd::not_shown);
      }
    }
    if (result.texts > 0) result.text.append(kResultJoint);
    result.text.append(piece->view());
    ++result.texts;
    report(result, front_end, block);
  }
  return ended(std::move(result), RunEnd::done);
}

}  // namespace quiren::block
