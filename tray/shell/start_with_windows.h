// "Windows の起動時に実行する": the program's entry among the programs
// Windows starts at log-on (Desktop::read_logon_entry), holding the
// program's full path in quotes. The settings dialog's box shows and sets
// it; start-up notices an entry left behind by a move.
#pragma once

#include <string>
#include <string_view>

#include "tray/core/desktop.h"

namespace quiren {

// What the entry holds for this program: its full path in quotes.
std::u16string logon_command(std::u16string_view program_path);

enum class LogonEntry {
  none,          // Windows starts no copy of the program
  this_program,  // it starts this very file
  elsewhere,     // it starts a file by another path: this one was moved, or is another copy
};

// The entry names this program when, without blanks around it and without
// one pair of quotes, it is the program's path, letter case aside (the
// file system's rule for ASCII letters).
LogonEntry find_logon_entry(Desktop& desktop);

// Makes the entry agree with the settings box: ticked, it starts this
// program (written unless it holds logon_command already); unticked, an
// entry that starts this program goes, and one that starts another copy is
// left alone (the box showed it unticked). False when the system refused.
bool set_start_with_windows(Desktop& desktop, bool start);

// At start-up: an entry that starts another path is shown beside this
// program's path, with the question whether it should start this one.
// Yes writes it (a refusal is told); No leaves the entry as it is, since it
// may start a copy kept elsewhere on purpose, and the question comes again
// at the next start while the entry still names another path.
void offer_logon_entry_update(Desktop& desktop);

}  // namespace quiren
