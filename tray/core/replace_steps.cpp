#include "tray/core/replace_steps.h"

namespace quiren {
namespace {

using enum ReplaceName;

bool succeeded(ReplaceSteps& steps) {
  // The backup holds the old content, which the new content replaces.
  steps.remove(backup);
  return true;
}

}  // namespace

bool replace_from_temp(ReplaceSteps& steps) {
  for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
    if (attempt > 0) steps.pause();
    StepError error = StepError::none;
    if (!steps.exists(target)) {
      error = steps.move(temp, target);
      if (error == StepError::none) return succeeded(steps);
    } else {
      error = steps.swap_in();
      if (error == StepError::none) return succeeded(steps);
      if (!steps.exists(target)) {
        // The swap moved the old file away (to the backup name, or deleted
        // it) and then could not move the new one in: the new content still
        // sits in the temporary file, so it goes in by a plain move.
        if (steps.exists(temp) && steps.move(temp, target) == StepError::none) return succeeded(steps);
        if (steps.exists(backup)) steps.move(backup, target);
        // Neither content could be put back: the temporary file and the
        // backup are the only copies left, so both stay.
        if (!steps.exists(target)) return false;
      }
    }
    if (error != StepError::busy) break;
  }
  // The old file is in its place, or there never was one.
  steps.remove(temp);
  if (steps.exists(target)) steps.remove(backup);
  return false;
}

}  // namespace quiren
