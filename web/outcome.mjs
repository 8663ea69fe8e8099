// What became of one block: the program's outcomes (block/outcome.h), each
// spelled as the program's enumerator, so a result, its text's key and the
// shared table of runs (tests/vectors/runs.json) all use one name.

export const OUTCOME = Object.freeze({
  opened: 'opened',
  wrong_password: 'wrong_password',        // a wrong password or a changed block: they cannot be told apart
  not_for_this_key: 'not_for_this_key',    // a recipient block for other keys, or changed: they cannot be told apart
  needs_key: 'needs_key',                  // a recipient block, and no secret key to open it with
  later_format: 'later_format',            // a later version reads it
  refused_settings: 'refused_settings',    // settings readers refuse: a later page would not help
  damaged: 'damaged',
  needs_shared_table: 'needs_shared_table',  // a compatible block's: never in the page
  over_limit: 'over_limit',                // the texts would pass 64 MiB
  failed: 'failed',                        // the browser's cryptography failed
  cancelled: 'cancelled',                  // Stop was pressed before its text came
  // The page's own: a compatible block, the earlier format only the
  // program opens. The page goes on past it, as past a wrong password.
  compatible: 'compatible',
});

// Whether a run that ends at a block with this outcome keeps the texts of
// the blocks before it, as the program's keeps_earlier_texts.
export const keepsEarlierTexts = (outcome) => ![OUTCOME.damaged, OUTCOME.failed, OUTCOME.cancelled].includes(outcome);

// The outcomes that have no message in the page: an opened block shows its
// text, a shared code table belongs to the earlier format, which the page
// does not open, and a run the user stopped shows nothing at all.
export const SILENT_OUTCOMES = Object.freeze([OUTCOME.opened, OUTCOME.needs_shared_table, OUTCOME.cancelled]);
