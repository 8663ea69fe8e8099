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
  opened,              // the block's text is there (a recipient block's with its
                       // sender and time written); a key block's key and name were read
  wrong_password,      // the password check or a strong block's tag failed: a
                       // wrong password or a changed block, which cannot be told apart
  not_for_this_key,    // no slot of a recipient block opened under the secret key
                       // given, or its text's tag failed: a block addressed to
                       // other keys or a changed one, which cannot be told apart
  needs_key,           // a recipient block, and the front end gave no secret key
  later_format,        // a mode letter, or an envelope's version, key type or
                       // suite, of a later version: a later version reads it
  refused_settings,    // whole, but with settings or values readers refuse, so
                       // upgrading would not help: a strong envelope's unknown
                       // key derivation or cipher or rounds outside the read
                       // bounds; a recipient block's count outside 1..64, a
                       // reserved byte other than 0 or a public key of low
                       // order; a key block's name (too long, not UTF-8 in NFC,
                       // or holding a character that could disguise it)
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
    case Outcome::not_for_this_key: return "not_for_this_key";
    case Outcome::needs_key: return "needs_key";
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
// a text that says why it did not open (block_rules.h) in its stead. Any
// other outcome but a refused compatible block ends the run.
constexpr bool takes_its_place(Outcome outcome) {
  return outcome == Outcome::opened || outcome == Outcome::wrong_password || outcome == Outcome::not_for_this_key ||
         outcome == Outcome::needs_key;
}

// Whether a run that ends at a block with this outcome keeps the texts of the
// blocks before it. A damaged block, a failure or a cancel keeps nothing:
// the user sees one message, or nothing at all. (A refused compatible block
// ends no run.)
constexpr bool keeps_earlier_texts(Outcome outcome) {
  switch (outcome) {
    case Outcome::opened:
    case Outcome::wrong_password:
    case Outcome::not_for_this_key:
    case Outcome::needs_key:
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
