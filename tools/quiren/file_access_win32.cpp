// Windows: the UTF-16 calls (_wstat64, _wfsopen), so that a name outside
// the ANSI code page opens too.
#include <share.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "tools/quiren/file_access.h"
#include "tools/quiren/wide_path_win32.h"

namespace quiren::tool {

FileLook look_at_file(const std::string& path) {
  const std::optional<std::wstring> wide = wide_path(path);
  if (!wide) return {FileState::unreadable, std::generic_category().message(EINVAL)};
  struct _stat64 info {};
  if (::_wstat64(wide->c_str(), &info) != 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return {FileState::missing, {}};
    return {FileState::unreadable, std::generic_category().message(error)};
  }
  return {(info.st_mode & _S_IFMT) == _S_IFREG ? FileState::regular : FileState::not_regular, {}};
}

bool anything_at(const std::string& path) {
  const std::optional<std::wstring> wide = wide_path(path);
  if (!wide) return true;
  std::error_code error;
  return std::filesystem::symlink_status(std::filesystem::path(*wide), error).type() !=
         std::filesystem::file_type::not_found;
}

std::FILE* open_file_for_reading(const std::string& path) {
  const std::optional<std::wstring> wide = wide_path(path);
  if (!wide) {
    errno = EINVAL;
    return nullptr;
  }
  // Shared as fopen shares it (_wfopen is deprecated under MSVC).
  return ::_wfsopen(wide->c_str(), L"rb", _SH_DENYNO);
}

}  // namespace quiren::tool
