// Windows: _O_CREAT | _O_EXCL, the name in UTF-16 so that one outside the
// ANSI code page is made as given. The file takes its folder's access
// rights: under the user's profile, the user's alone.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>

#include "tools/quiren/new_file.h"
#include "tools/quiren/wide_path_win32.h"

namespace quiren::tool {

NewFile write_new_file(const std::string& path, std::string_view bytes, std::string& problem) {
  const std::optional<std::wstring> wide = wide_path(path);
  if (!wide) {
    problem = std::generic_category().message(EINVAL);
    return NewFile::failed;
  }
  int fd = -1;
  const errno_t opened = ::_wsopen_s(&fd, wide->c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                                     _S_IREAD | _S_IWRITE);
  if (opened != 0 || fd < 0) {
    if (opened == EEXIST) return NewFile::exists;
    problem = std::generic_category().message(opened != 0 ? opened : errno);
    return NewFile::failed;
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size() - written, INT_MAX);
    const int n = ::_write(fd, bytes.data() + written, static_cast<unsigned>(chunk));
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const int write_error = written == bytes.size() ? 0 : errno;
  const bool committed = write_error == 0 && ::_commit(fd) == 0;
  const int commit_error = committed ? 0 : errno;
  const bool closed = ::_close(fd) == 0;
  if (write_error == 0 && committed && closed) return NewFile::written;
  problem = std::generic_category().message(write_error != 0 ? write_error : commit_error != 0 ? commit_error : errno);
  ::_wunlink(wide->c_str());
  return NewFile::failed;
}

}  // namespace quiren::tool
