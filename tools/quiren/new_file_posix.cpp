// POSIX: open() with O_CREAT | O_EXCL, mode 0600; O_EXCL also refuses a
// link in the file's place, dangling or not.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "tools/quiren/new_file.h"

namespace quiren::tool {

NewFile write_new_file(const std::string& path, std::string_view bytes, std::string& problem) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno == EEXIST) return NewFile::exists;
    problem = std::generic_category().message(errno);
    return NewFile::failed;
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const int write_error = written == bytes.size() ? 0 : errno;
  // A key that is not on the disk is no key: fsync before saying so.
  const bool synced = write_error == 0 && ::fsync(fd) == 0;
  const int sync_error = synced ? 0 : errno;
  const bool closed = ::close(fd) == 0;
  if (write_error == 0 && synced && closed) return NewFile::written;
  problem = std::generic_category().message(write_error != 0 ? write_error : sync_error != 0 ? sync_error : errno);
  ::unlink(path.c_str());
  return NewFile::failed;
}

}  // namespace quiren::tool
