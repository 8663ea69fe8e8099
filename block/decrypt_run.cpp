#include "block/decrypt_run.h"

#include <vector>

#include "block/block_rules.h"
#include "block/received_text.h"

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
  return end != RunEnd::unreadable && end != RunEnd::library_failed && end != RunEnd::not_shown;
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

RunResult run_decrypt(std::u16string_view received, DecryptFrontEnd& front_end, CipherLibrary& library,
                      CryptoProvider& crypto) {
  RunResult result;
  const std::vector<BlockItem> blocks = read_blocks(repair_received_text(received));
  if (blocks.empty()) return ended(std::move(result), RunEnd::no_block);

  // A first block that cannot be read asks for no password.
  const BlockItem& first = blocks.front();
  if (first.problem != BlockProblem::none) {
    const BlockOutcomeKind outcome = first.problem == BlockProblem::version_cannot_read
                                         ? BlockOutcomeKind::version_cannot_read
                                         : BlockOutcomeKind::unreadable;
    front_end.block_done({0, first.kind, outcome}, result.text);
    result.end_block = 0;
    return ended(std::move(result), *end_at(outcome));
  }
  std::optional<BlockPassword> password = front_end.password(blocks);
  if (!password) return ended(std::move(result), RunEnd::no_password);
  BlockOpener opener(std::move(*password), library, crypto);

  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const BlockOutcome outcome = front_end.open(blocks[i], opener);
    const BlockReport report{i, blocks[i].kind, outcome.kind};
    if (const std::optional<RunEnd> end = end_at(outcome.kind)) {
      front_end.block_done(report, result.text);
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
    front_end.block_done(report, result.text);
  }
  return ended(std::move(result), RunEnd::done);
}

}  // namespace quiren::block
