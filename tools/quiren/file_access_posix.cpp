// POSIX: file names are bytes, passed on as they are.
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "tools/quiren/file_access.h"

namespace quiren::tool {

FileLook look_at_file(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return {FileState::missing, {}};
    return {FileState::unreadable, std::generic_category().message(error)};
  }
  return {S_ISREG(info.st_mode) ? FileState::regular : FileState::not_regular, {}};
}

bool anything_at(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
}

std::FILE* open_file_for_reading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

}  // namespace quiren::tool
