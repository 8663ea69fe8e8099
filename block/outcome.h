// What became of one block: the one name of each outcome, from the
// envelope check and the block reader up to the message a front end shows.
// Front ends switch over it without a default, so an outcome added here is
// a warning (an error, with warnings as errors) in each one that must learn
// it. The reader page (web/outcome.mjs) uses the same names, and the shared
// table of runs (tests/vectors/runs.json) holds both to them.
#pragma once

#include <string_view>

namespace quiren::block {

enum class Outcome {
  opened,              // the block's text is there
  wrong_password,      // the password check or a strong block's tag failed: a
                       // wrong password or a changed block, which cannot be told apart
  later_format,        // a mode letter or a strong envelope of a later version:
                       // a later version of the program reads it
  refused_settings,    // a strong envelope with settings readers refuse (an
                       // unknown key derivation or cipher, rounds outside the
                       // read bounds): upgrading would not help
  damaged,             // the block cannot be read: a field, the armour or the envelope is broken
  needs_shared_table,  // the password is right, but the text was compressed
                       // under a shared code table that this computer lacks
  over_limit,          // the run's decrypted texts would pass kLongestText
  failed,              // the compatible cipher library or the platform's cryptography failed
  cancelled,           // the user (or the program's end) stopped the run before its text came
  compatible_refused,  // a readable compatible block, refused unread where only strong blocks are
                       // read: it cannot show whether it was changed. No text; the run goes on past it
};

// The outcome's name as the reader page, the shared tables and the test
// programs spell it: the enumerator's own.
constexpr std::string_view outcome_name(Outcome outcome) {
  switch (outcome) {
    case Outcome::opened: return "opened";
    case Outcome::wrong_password: return "wrong_password";
    case Outcome::later_format: return "later_format";
    case Outcome::refused_settings: return "refused_settings";
    case Outcome::damaged: return "damaged";
    case Outcome::needs_shared_table: return "needs_shared_table";
    case Outcome::over_limit: return "over_limit";
    case Outcome::failed: return "failed";
    case Outcome::cancelled: return "cancelled";
    case Outcome::compatible_refused: return "compatible_refused";
  }
  return "?";
}

// Whether the block holds its place in the run's joined texts: its text, or
// a text saying it did not open in its stead. Any other outcome but a
// refused compatible block ends the run.
constexpr bool takes_its_place(Outcome outcome) {
  return outcome == Outcome::opened || outcome == Outcome::wrong_password;
}

// Whether a run that ends at a block with this outcome keeps the texts of the
// blocks before it. A damaged block, a failure or a cancel keeps nothing:
// the user sees one message, or nothing at all. (A refused compatible block
// ends no run.)
constexpr bool keeps_earlier_texts(Outcome outcome) {
  switch (outcome) {
    case Outcome::opened:
    case Outcome::wrong_password:
    case Outcome::later_format:
    case Outcome::refused_settings:
    case Outcome::needs_shared_table:
    case Outcome::over_limit:
    case Outcome::compatible_refused:
      return true;
    case Outcome::damaged:
    case Outcome::failed:
    case Outcome::cancelled:
      break;
  }
  return false;
}

}  // namespace quiren::block
