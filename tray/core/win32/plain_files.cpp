#include "tray/core/win32/plain_files.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "tray/core/win32/process_info.h"
#include "tray/win32kit/owned_handle.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Only these say "nothing there". A sharing violation, access denied and
// the like mean something is there that we may not look at.
bool not_found(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

bool write_all(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::wstring folder_of(std::u16string_view path) {
  std::wstring dir = to_wide(directory_of(path));
  return dir.empty() ? L"." : dir;
}

// Creates a new empty file with a unique name in `dir`: the name is then
// this program's, and nobody else's file can be behind it.
std::optional<std::wstring> unique_file(const std::wstring& dir, const wchar_t* prefix) {
  wchar_t name[MAX_PATH + 1] = {};
  if (dir.size() > MAX_PATH - 14 || !GetTempFileNameW(dir.c_str(), prefix, 0, name)) return std::nullopt;
  return std::wstring(name);
}

// A temporary file beside `path` holding the bytes, flushed to disk; none is
// left behind when that fails.
std::optional<std::wstring> write_temp_beside(std::u16string_view path, std::string_view bytes) {
  std::optional<std::wstring> temp = unique_file(folder_of(path), L"mqr");
  if (!temp) return std::nullopt;
  bool written = false;
  {
    ScopedFile file(CreateFileW(temp->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    written = file.valid() && write_all(file.get(), bytes) && FlushFileBuffers(file.get()) && file.close();
  }
  if (!written) {
    DeleteFileW(temp->c_str());
    return std::nullopt;
  }
  return temp;
}

StepError step_error(DWORD error) {
  const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                    error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
  return busy ? StepError::busy : StepError::other;
}

class Win32ReplaceSteps final : public ReplaceSteps {
 public:
  Win32ReplaceSteps(std::wstring target, std::wstring temp, std::wstring backup, const SwapInStep& swap_in)
      : target_(std::move(target)), temp_(std::move(temp)), backup_(std::move(backup)), swap_in_(swap_in) {}

  bool exists(ReplaceName name) override {
    if (GetFileAttributesW(path(name)) != INVALID_FILE_ATTRIBUTES) return true;
    return !not_found(GetLastError());
  }

  StepError swap_in() override {
    if (swap_in_) return swap_in_(target_, temp_, backup_);
    // With a backup name the old file is never deleted half-way, and Wine
    // makes no temporary file of its own (without one it leaves an rf*.tmp
    // behind each time the target is held open).
    if (ReplaceFileW(target_.c_str(), temp_.c_str(), backup_.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
      return StepError::none;
    }
    return step_error(GetLastError());
  }

  StepError move(ReplaceName from, ReplaceName to) override {
    if (MoveFileExW(path(from), path(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return StepError::none;
    }
    return step_error(GetLastError());
  }

  void remove(ReplaceName name) override { DeleteFileW(path(name)); }

  void pause() override { Sleep(50); }

 private:
  const wchar_t* path(ReplaceName name) const {
    switch (name) {
      case ReplaceName::target: return target_.c_str();
      case ReplaceName::temp: return temp_.c_str();
      case ReplaceName::backup: return backup_.c_str();
    }
    return target_.c_str();
  }

  std::wstring target_;
  std::wstring temp_;
  std::wstring backup_;
  const SwapInStep& swap_in_;
};

}  // namespace

FileRead read_plain_file(std::u16string_view path, std::size_t max_bytes) {
  FileRead result;
  const std::wstring name = to_wide(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Under Wine a file held open without sharing fails here too; opening it
    // tells more.
    if (not_found(GetLastError())) return result;
  } else if ((attributes & kNotPlain) != 0) {
    result.status = FileStatus::not_plain;
    return result;
  }

  ScopedFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    result.status = not_found(GetLastError()) ? FileStatus::absent : FileStatus::unreadable;
    return result;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file.get(), &info) && (info.dwFileAttributes & kNotPlain) != 0) {
    result.status = FileStatus::not_plain;
    return result;
  }
  result.status = FileStatus::unreadable;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > max_bytes) {
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    const std::size_t left = result.bytes.size() - done;
    const DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!ReadFile(file.get(), result.bytes.data() + done, chunk, &got, nullptr)) {
      result.bytes.clear();
      return result;
    }
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  result.bytes.resize(done);
  result.status = FileStatus::read;
  return result;
}

bool replace_file(std::u16string_view path, std::string_view bytes, const SwapInStep& swap_in) {
  const std::wstring target = to_wide(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotPlain) != 0) return false;

  std::optional<std::wstring> temp = write_temp_beside(path, bytes);
  if (!temp) return false;
  // The backup name is reserved by creating the file, then freed for the
  // swap to move the old file to.
  std::optional<std::wstring> backup = unique_file(folder_of(path), L"mqb");
  if (!backup) {
    DeleteFileW(temp->c_str());
    return false;
  }
  DeleteFileW(backup->c_str());
  Win32ReplaceSteps steps(target, *temp, *backup, swap_in);
  return replace_from_temp(steps);
}

NewFile write_new_file(std::u16string_view path, std::string_view bytes) {
  const std::wstring name = to_wide(path);
  if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) return NewFile::exists;
  if (!not_found(GetLastError())) return NewFile::failed;
  std::optional<std::wstring> temp = write_temp_beside(path, bytes);
  if (!temp) return NewFile::failed;
  // Without MOVEFILE_REPLACE_EXISTING the move fails if a file turned up
  // meanwhile, which then stays as it is.
  if (MoveFileExW(temp->c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH)) return NewFile::written;
  const DWORD error = GetLastError();
  DeleteFileW(temp->c_str());
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? NewFile::exists : NewFile::failed;
}

}  // namespace quiren::win32
