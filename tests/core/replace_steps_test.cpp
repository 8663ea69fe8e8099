#include "tray/core/replace_steps.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quiren {
namespace {

using enum ReplaceName;

// How one swap_in goes, staged on a small in-memory folder.
enum class Swap {
  ok,
  busy,           // another program holds the target: nothing moved
  refused,        // nothing moved, and trying again will not help
  old_deleted,    // the old file is gone, the new one still in the temp file
  old_at_backup,  // the old file went to the backup name, the new one stayed
};

class StagedFolder : public ReplaceSteps {
 public:
  bool exists(ReplaceName name) override { return at.count(name) != 0; }

  StepError swap_in() override {
    Swap swap = Swap::ok;
    if (!swaps.empty()) {
      swap = swaps.front();
      swaps.pop_front();
    }
    switch (swap) {
      case Swap::ok:
        at[backup] = at[target];
        at[target] = at[temp];
        at.erase(temp);
        return StepError::none;
      case Swap::busy: return StepError::busy;
      case Swap::refused: return StepError::other;
      case Swap::old_deleted: at.erase(target); return StepError::other;
      case Swap::old_at_backup:
        at[backup] = at[target];
        at.erase(target);
        return StepError::other;
    }
    return StepError::other;
  }

  StepError move(ReplaceName from, ReplaceName to) override {
    if (failing_moves.count({from, to}) || !at.count(from)) return StepError::other;
    at[to] = at[from];
    at.erase(from);
    return StepError::none;
  }

  void remove(ReplaceName name) override { at.erase(name); }
  void pause() override { ++pauses; }

  std::map<ReplaceName, std::string> at;
  std::deque<Swap> swaps;
  std::set<std::pair<ReplaceName, ReplaceName>> failing_moves;
  int pauses = 0;
};

using Contents = std::map<ReplaceName, std::string>;

struct ReplaceCase {
  const char* name;
  bool old_file;  // a target there before
  std::vector<Swap> swaps;
  std::set<std::pair<ReplaceName, ReplaceName>> failing_moves;
  bool replaced;
  Contents after;  // what is left at each name
  int pauses;
};

class ReplaceFromTemp : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceFromTemp, LeavesOneWholeFileAndNothingOfItsOwn) {
  const ReplaceCase& c = GetParam();
  StagedFolder folder;
  folder.at[temp] = "new";
  if (c.old_file) folder.at[target] = "old";
  folder.swaps.assign(c.swaps.begin(), c.swaps.end());
  folder.failing_moves = c.failing_moves;

  EXPECT_EQ(replace_from_temp(folder), c.replaced);
  EXPECT_EQ(folder.at, c.after);
  EXPECT_EQ(folder.pauses, c.pauses);
}

const std::vector<Swap> kAlwaysBusy(kReplaceAttempts, Swap::busy);

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceFromTemp,
    ::testing::Values(
        ReplaceCase{"first_save_moves_in", false, {}, {}, true, {{target, "new"}}, 0},
        ReplaceCase{"first_save_move_fails", false, {}, {{temp, target}}, false, {}, 0},
        ReplaceCase{"swap", true, {Swap::ok}, {}, true, {{target, "new"}}, 0},
        ReplaceCase{"busy_then_swap", true, {Swap::busy, Swap::busy, Swap::ok}, {}, true, {{target, "new"}}, 2},
        ReplaceCase{"busy_throughout", true, kAlwaysBusy, {}, false, {{target, "old"}}, kReplaceAttempts - 1},
        ReplaceCase{"refused", true, {Swap::refused}, {}, false, {{target, "old"}}, 0},
        // ERROR_UNABLE_TO_MOVE_REPLACEMENT: the old file is gone already, so
        // the new content must not go with the temporary file.
        ReplaceCase{"old_deleted_new_moved_in", true, {Swap::old_deleted}, {}, true, {{target, "new"}}, 0},
        ReplaceCase{"old_deleted_move_fails_temp_kept", true, {Swap::old_deleted}, {{temp, target}}, false,
                    {{temp, "new"}}, 0},
        // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file sits at the backup
        // name.
        ReplaceCase{"old_at_backup_new_moved_in", true, {Swap::old_at_backup}, {}, true, {{target, "new"}}, 0},
        ReplaceCase{"old_at_backup_move_fails_old_back", true, {Swap::old_at_backup}, {{temp, target}}, false,
                    {{target, "old"}}, 0},
        ReplaceCase{"old_at_backup_nothing_moves_both_kept", true, {Swap::old_at_backup},
                    {{temp, target}, {backup, target}}, false, {{temp, "new"}, {backup, "old"}}, 0}),
    [](const ::testing::TestParamInfo<ReplaceCase>& param_info) { return param_info.param.name; });

}  // namespace
}  // namespace quiren
