// POSIX: the controlling terminal, /dev/tty, with echo turned off by termios.
// While echo is off, the usual ending signals first put the terminal back
// and wipe what was typed: the shell must not be left without echo.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>

#include "tools/quiren/password_input.h"
#include "tools/quiren/tool_texts.h"

namespace quiren::tool {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// What the handler needs, set before it is installed. One prompt at a time:
// the tool has one thread.
int prompt_terminal = -1;
termios saved_mode{};
volatile std::sig_atomic_t mode_saved = 0;
// The typed characters live here, not in a std::string, so that the handler
// can wipe them without touching the heap. Room for the longest line and
// one byte to notice a longer one.
char typed[kPasswordLineLimit + 1];

void restore_and_end(int signal_number) {
  wipe(typed, sizeof typed);
  // Flushing drops a half-typed line too, which the shell would read next.
  if (mode_saved) ::tcsetattr(prompt_terminal, TCSAFLUSH, &saved_mode);
  // The signal is blocked while its handler runs: raised again with the
  // default action, it ends the process as soon as the handler returns, with
  // the exit status the caller expects for it.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(signal_number, &fallback, nullptr);
  ::raise(signal_number);
}

// Installs the handler for the signals the caller has not chosen to ignore,
// and puts the earlier actions back when it goes.
class RestoringHandlers {
 public:
  RestoringHandlers() {
    struct sigaction handler {};
    handler.sa_handler = restore_and_end;
    sigemptyset(&handler.sa_mask);
    for (int s : kEndingSignals) sigaddset(&handler.sa_mask, s);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
      struct sigaction& earlier = earlier_[i];
      if (::sigaction(kEndingSignals[i], nullptr, &earlier) != 0 || earlier.sa_handler == SIG_IGN) continue;
      installed_[i] = ::sigaction(kEndingSignals[i], &handler, nullptr) == 0;
    }
  }
  ~RestoringHandlers() {
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
      if (installed_[i]) ::sigaction(kEndingSignals[i], &earlier_[i], nullptr);
    }
  }
  RestoringHandlers(const RestoringHandlers&) = delete;
  RestoringHandlers& operator=(const RestoringHandlers&) = delete;

 private:
  struct sigaction earlier_[std::size(kEndingSignals)] {};
  bool installed_[std::size(kEndingSignals)] = {};
};

void write_all(int fd, const std::string& s) {
  std::size_t done = 0;
  while (done < s.size()) {
    ssize_t n = ::write(fd, s.data() + done, s.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

// One line into `typed`, the line break left out. Returns how many bytes it
// holds (sizeof typed when the line was longer than that), with *got_line
// telling whether the line break came before the end of input.
std::size_t read_line(int fd, bool* got_line) {
  std::size_t length = 0;
  *got_line = false;
  for (;;) {
    char c;
    ssize_t n = ::read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n != 1) break;
    if (c == '\n') {
      *got_line = true;
      break;
    }
    // Past the limit the rest of the line is read and dropped.
    if (length < sizeof typed) typed[length++] = c;
    wipe(&c, sizeof c);
  }
  return length;
}

}  // namespace

PasswordRead password_from_terminal(const std::string& prompt) {
  int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {false, {}, "no terminal to ask for the password; use --password-file FILE"};
  bool have_termios = ::tcgetattr(fd, &saved_mode) == 0;
  prompt_terminal = fd;
  mode_saved = have_termios;
  bool got_line = false;
  std::size_t length = 0;
  {
    RestoringHandlers restoring;
    if (have_termios) {
      termios quiet = saved_mode;
      quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      quiet.c_lflag |= ECHONL;
      ::tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    write_all(fd, prompt);
    length = read_line(fd, &got_line);
    if (have_termios) ::tcsetattr(fd, TCSAFLUSH, &saved_mode);
  }
  mode_saved = 0;
  prompt_terminal = -1;
  ::close(fd);

  if (length > kPasswordLineLimit) {
    wipe(typed, sizeof typed);
    return {false, {}, std::string(texts::kPasswordLineTooLong)};
  }
  if (length > 0 && typed[length - 1] == '\r') --length;
  if (!got_line && length == 0) return {false, {}, "no password was entered"};
  PasswordRead read{true, SecretBytes(std::string_view(typed, length)), {}};
  wipe(typed, sizeof typed);
  return read;
}

}  // namespace quiren::tool
