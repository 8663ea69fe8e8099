// POSIX: the controlling terminal, /dev/tty, with echo turned off by termios.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "tools/quiren/password_input.h"

namespace quiren::tool {

namespace {

void write_all(int fd, const std::string& s) {
  std::size_t done = 0;
  while (done < s.size()) {
    ssize_t n = ::write(fd, s.data() + done, s.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

PasswordRead password_from_terminal(const std::string& prompt) {
  int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY);
  if (fd < 0) return {false, {}, "no terminal to ask for the password; use --password-file FILE"};
  termios saved{};
  bool have_termios = ::tcgetattr(fd, &saved) == 0;
  if (have_termios) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(fd, TCSAFLUSH, &quiet);
  }
  write_all(fd, prompt);
  std::string line;
  bool got_line = false;
  char c;
  while (::read(fd, &c, 1) == 1) {
    if (c == '\n') {
      got_line = true;
      break;
    }
    line += c;
  }
  if (have_termios) ::tcsetattr(fd, TCSAFLUSH, &saved);
  ::close(fd);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (!got_line && line.empty()) return {false, {}, "no password was entered"};
  return {true, line, {}};
}

}  // namespace quiren::tool
