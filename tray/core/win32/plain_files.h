// Small whole-file reads, atomic replacement and atomic creation.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "tray/core/desktop.h"
#include "tray/core/replace_steps.h"

namespace quiren::win32 {

// The whole file when it is an ordinary file of at most `max_bytes`. A file
// that is there but cannot be opened or read (held open without sharing, no
// permission, too large) is `unreadable`, never `absent`: only "file not
// found" and "path not found" are.
FileRead read_plain_file(std::u16string_view path, std::size_t max_bytes = 64u << 20);

// The platform's replace call as replace_file makes it, given the full paths
// of the target, the temporary file and the backup name. Tests pass their
// own to stage its failures on a real file system.
using SwapInStep =
    std::function<StepError(const std::wstring& target, const std::wstring& temp, const std::wstring& backup)>;

// Writes the bytes to a temporary file beside the target, flushes it, and
// moves it over the target (replace_from_temp). False when it could not;
// the old file is then in its place and every file the replacement made is
// removed. Refuses a hidden or system target, or a folder.
bool replace_file(std::u16string_view path, std::string_view bytes, const SwapInStep& swap_in = {});

// Writes the bytes to a temporary file beside `path`, flushes it and moves
// it to `path` only if nothing is there.
NewFile write_new_file(std::u16string_view path, std::string_view bytes);

}  // namespace quiren::win32
