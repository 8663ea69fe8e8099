#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

#include "tools/quiren/file_access.h"
#include "tools/quiren/password_input.h"
#include "tools/quiren/tool_texts.h"

namespace quiren::tool {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The name as given, with control characters replaced so that the message
// stays one line.
std::string printable_name(const std::string& path) {
  std::string name = path;
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return name;
}

PasswordRead refused(std::string_view why, const std::string& path, std::string_view detail = {}) {
  std::string problem = std::string(why) + ": " + printable_name(path);
  if (!detail.empty()) problem += " (" + std::string(detail) + ")";
  return {false, {}, std::move(problem)};
}

struct ClosedOnExit {
  std::FILE* file;
  ~ClosedOnExit() { std::fclose(file); }
};

}  // namespace

PasswordRead password_from_file(const std::string& path) {
  // Looked at before it is opened: opening a pipe for reading waits for a
  // writer, and a device or a folder has no first line to speak of.
  const FileLook look = look_at_file(path);
  switch (look.state) {
    case FileState::regular:
      break;
    case FileState::missing:
      return refused(texts::kPasswordFileMissing, path);
    case FileState::not_regular:
      return refused(texts::kPasswordFileNotRegular, path);
    case FileState::unreadable:
      return refused(texts::kPasswordFileUnreadable, path, look.error);
  }

  std::FILE* file = open_file_for_reading(path);
  if (!file) return refused(texts::kPasswordFileUnreadable, path, std::generic_category().message(errno));
  ClosedOnExit closing{file};
  // Unbuffered, so that no more is read than asked for, and no copy of the
  // password stays behind in a stdio buffer.
  std::setvbuf(file, nullptr, _IONBF, 0);

  // A byte order mark, the longest line and its CR LF: enough to tell a line
  // that is too long.
  SecretBytes read_bytes;
  read_bytes.resize(kUtf8Bom.size() + kPasswordLineLimit + 2);
  read_bytes.resize(std::fread(read_bytes.data(), 1, read_bytes.size(), file));
  if (std::ferror(file)) return refused(texts::kPasswordFileUnreadable, path);
  const std::string_view head = read_bytes.view();
  // Notepad saves "UTF-8 with BOM" by choice, and Windows editors end lines
  // with CR LF: neither is part of the password.
  const std::size_t start = head.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  std::size_t end = std::min(head.find('\n', start), head.size());
  if (end > start && head[end - 1] == '\r') --end;
  const std::size_t length = end - start;
  if (length > kPasswordLineLimit) return refused(texts::kPasswordFileLineTooLong, path);
  return {true, SecretBytes(head.substr(start, length)), {}};
}

}  // namespace quiren::tool
