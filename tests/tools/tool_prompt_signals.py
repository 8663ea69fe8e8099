"""Runs the built quiren program on a pseudo-terminal and ends it at its
password prompt: with the interrupt character and with SIGTERM it dies of
that signal and the terminal has its echo back. A typed password still
works and leaves echo on too.

usage: tool_prompt_signals.py QUIREN_PROGRAM
Exits 77 (skipped) when no pseudo-terminal can be made. Every wait has a
deadline and a hung program is killed, so the test never hangs.
"""
import fcntl
import os
import pty
import select
import signal
import sys
import tempfile
import termios
import time

PROGRAM = sys.argv[1]
DEADLINE = 30.0  # seconds any one step may take before it counts as hung
WORK = tempfile.mkdtemp(prefix="quiren-prompt-")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def echo_on(tty_fd):
    return bool(termios.tcgetattr(tty_fd)[3] & termios.ECHO)


class Run:
    """The tool with the pseudo-terminal as its controlling terminal; standard
    input and output are files, so the prompt is the only thing on it."""

    def __init__(self, args, stdin_bytes):
        in_path = os.path.join(WORK, "in")
        self.out_path = os.path.join(WORK, "out")
        with open(in_path, "wb") as f:
            f.write(stdin_bytes)
        self.master, self.slave = pty.openpty()
        self.seen = b""
        self.pid = os.fork()
        if self.pid == 0:
            try:
                os.close(self.master)
                os.setsid()
                fcntl.ioctl(self.slave, termios.TIOCSCTTY, 0)
                os.dup2(os.open(in_path, os.O_RDONLY), 0)
                os.dup2(os.open(self.out_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600), 1)
                os.dup2(self.slave, 2)
                os.execv(PROGRAM, [PROGRAM] + args)
            finally:
                os._exit(127)

    def wait_for(self, text):
        end = time.monotonic() + DEADLINE
        while text not in self.seen:
            left = end - time.monotonic()
            if left <= 0 or not select.select([self.master], [], [], left)[0]:
                return False
            try:
                chunk = os.read(self.master, 4096)
            except OSError:
                return False
            if not chunk:
                return False
            self.seen += chunk
        return True

    def type(self, data):
        os.write(self.master, data)

    def status(self):
        """The wait status, or None after killing a program that did not end."""
        end = time.monotonic() + DEADLINE
        while time.monotonic() < end:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                return status
            time.sleep(0.02)
        os.kill(self.pid, signal.SIGKILL)
        os.waitpid(self.pid, 0)
        return None

    def output(self):
        with open(self.out_path, "rb") as f:
            return f.read()

    def close(self):
        os.close(self.master)
        os.close(self.slave)


def died_of(status, signal_number):
    return status is not None and os.WIFSIGNALED(status) and os.WTERMSIG(status) == signal_number


try:
    probe_master, probe_slave = pty.openpty()
    os.close(probe_master)
    os.close(probe_slave)
except OSError as error:
    print("skipped: no pseudo-terminal:", error)
    sys.exit(77)


def interrupt_character(run):
    run.type(bytes([termios.tcgetattr(run.slave)[6][termios.VINTR][0]]))


def terminate(run):
    os.kill(run.pid, signal.SIGTERM)


# Ended at the prompt, with some characters typed.
for name, end, signal_number in (("interrupt character", interrupt_character, signal.SIGINT),
                                 ("SIGTERM", terminate, signal.SIGTERM)):
    run = Run(["encrypt"], b"text")
    if not run.wait_for(b"Password: "):
        check(False, "%s: no prompt (saw %r)" % (name, run.seen))
        run.status()
        run.close()
        continue
    check(not echo_on(run.slave), "%s: echo is off at the prompt" % name)
    run.type(b"sec")
    end(run)
    status = run.status()
    check(died_of(status, signal_number), "%s: died of signal %d (wait status %r)" % (name, signal_number, status))
    check(echo_on(run.slave), "%s: echo is back on" % name)
    check(run.output() == b"", "%s: nothing written" % name)
    run.close()

# A typed password: both prompts, a block, echo on again.
run = Run(["encrypt"], b"text")
ok = run.wait_for(b"Password: ")
run.type(b"pw\n")
ok = ok and run.wait_for(b"Password again: ")
run.type(b"pw\n")
status = run.status()
check(ok and status is not None and os.WIFEXITED(status) and os.WEXITSTATUS(status) == 0,
      "typed password: exit 0 (wait status %r, saw %r)" % (status, run.seen))
check(run.output().startswith(b"(quiren_start)\r\n"), "typed password: a block")
check(echo_on(run.slave), "typed password: echo is back on")
check(b"pw" not in run.seen, "typed password: not echoed")
run.close()

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
