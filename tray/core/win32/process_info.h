// Facts about this process: where its program file is, and whether another
// copy of the program runs.
#pragma once

#include <string>

namespace quiren::win32 {

// The full path of the program file (any length).
std::u16string program_file_path();

// The folder of a file path; ends with '\' only at the root of a drive.
std::u16string directory_of(std::u16string_view file_path);

// True when an earlier-started copy of the program still runs. The first
// call claims the program's named mutex, held for the rest of the process's
// life; later calls give the same answer.
bool another_copy_running();

}  // namespace quiren::win32
