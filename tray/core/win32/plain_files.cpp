#include "tray/core/win32/plain_files.h"

#include <windows.h>

#include "tray/core/win32/process_info.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  bool close() {
    bool ok = true;
    if (valid()) ok = CloseHandle(h_) != FALSE;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool write_all(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool is_transient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Moves the temporary file over the target, retrying for a moment while a
// scanner or indexer holds either file.
bool move_over(const std::wstring& temp, const std::wstring& target) {
  constexpr int kAttempts = 10;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) Sleep(50);
    BOOL ok;
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
      ok = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    } else {
      ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (ok) return true;
    if (!is_transient(GetLastError())) return false;
  }
  return false;
}

}  // namespace

bool plain_file_exists(std::u16string_view path) {
  const DWORD attributes = GetFileAttributesW(to_wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

std::optional<std::string> read_whole_file(std::u16string_view path, std::size_t max_bytes) {
  FileHandle file(CreateFileW(to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > max_bytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool replace_file(std::u16string_view path, std::string_view bytes) {
  const std::wstring target = to_wide(path);
  std::wstring dir = to_wide(directory_of(path));
  if (dir.empty()) dir = L".";
  wchar_t temp_name[MAX_PATH + 1] = {};
  if (dir.size() > MAX_PATH - 14 || !GetTempFileNameW(dir.c_str(), L"mqr", 0, temp_name)) return false;
  const std::wstring temp = temp_name;

  bool written = false;
  {
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    written = file.valid() && write_all(file.get(), bytes) && FlushFileBuffers(file.get()) && file.close();
  }
  if (written && move_over(temp, target)) return true;
  DeleteFileW(temp.c_str());
  return false;
}

}  // namespace quiren::win32
