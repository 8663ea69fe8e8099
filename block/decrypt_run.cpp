#include "block/decrypt_run.h"

#include <algorithm>
#include <vector>

#include "block/block_rules.h"
#include "block/received_text.h"
#include "block/strong/envelope_check.h"

namespace quiren::block {

namespace {

void report(RunResult& result, DecryptFrontEnd& front_end, const BlockReport& block) {
  result.reports.push_back(block);
  front_end.block_done(block, result.text);
}

RunResult ended(RunResult result, RunEnd end) {
  result.end = end;
  const bool keeps = end == RunEnd::at_block ? keeps_earlier_texts(result.stopped_by()) : end != RunEnd::not_shown;
  if (!keeps) {
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
    if (takes_its_place(block.outcome) && block.kind == kind) ++n;
  }
  return n;
}

std::uint64_t rounds_asked(std::span<const BlockItem> blocks) {
  std::uint64_t rounds = 0;
  for (const BlockItem& item : blocks) {
    if (item.problem || item.kind != BlockKind::strong) continue;
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
  if (first.problem) {
    report(result, front_end, {0, first.kind, *first.problem});
    result.end_block = 0;
    return ended(std::move(result), RunEnd::at_block);
  }
  // Counted before anything is derived, so a text of crafted blocks cannot
  // hold the user up unasked.
  if (const std::uint64_t rounds = rounds_asked(blocks); rounds > kRoundBudget) {
    const auto strong = std::count_if(blocks.begin(), blocks.end(), [](const BlockItem& item) {
      return !item.problem && item.kind == BlockKind::strong;
    });
    if (!front_end.accept_rounds(rounds, static_cast<std::size_t>(strong))) {
      return ended(std::move(result), RunEnd::rounds_refused);
    }
  }
  std::optional<BlockPassword> password = front_end.password(blocks);
  if (!password) return ended(std::move(result), RunEnd::no_password);
  BlockOpener opener(std::move(*password), library, crypto);

  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const BlockResult outcome = front_end.open(blocks[i], i, blocks.size(), opener);
    const BlockReport block{i, blocks[i].kind, outcome.outcome};
    if (!takes_its_place(outcome.outcome)) {
      report(result, front_end, block);
      result.end_block = i;
      return ended(std::move(result), RunEnd::at_block);
    }
    std::optional<SecretText> piece;
    if (outcome.outcome == Outcome::wrong_password) {
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
