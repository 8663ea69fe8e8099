// The files the tool reads, named in UTF-8 as every string in the tool is:
// one platform function per job (file_access_posix.cpp passes the name on
// as it is; file_access_win32.cpp calls the UTF-16 functions, since the
// narrow ones read names in the ANSI code page). New files are new_file.h's.
#pragma once

#include <cstdio>
#include <string>

namespace quiren::tool {

enum class FileState {
  regular,      // a regular file, or a link to one
  missing,      // nothing there, or a folder on the way is missing
  not_regular,  // a folder, a device, a pipe
  unreadable,   // cannot be looked at; `error` says why
};

struct FileLook {
  FileState state = FileState::missing;
  std::string error;  // the system's words, when unreadable
};

// What is at `path`, following links. Nothing is opened: a pipe would
// wait for a writer.
FileLook look_at_file(const std::string& path);

// True when anything is at `path`, a link included even when it points
// nowhere, or when `path` cannot be looked at.
bool anything_at(const std::string& path);

// The file opened for reading bytes, or nullptr with errno set.
std::FILE* open_file_for_reading(const std::string& path);

}  // namespace quiren::tool
