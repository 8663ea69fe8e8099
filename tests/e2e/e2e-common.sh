# Shared by the end-to-end scripts: a private X display and Wine settings.
# Sourced, not run.

export WINEDEBUG=${WINEDEBUG:--all}

# Debian's "wine" starts the 32-bit loader whenever 32-bit Wine is installed,
# and that loader then starts the 64-bit one for 64-bit programs. Some virtual
# machines run no 32-bit programs at all ("Exec format error"): there the
# 64-bit loader is called directly, and only 64-bit programs can run.
e2e_runs_32bit() { [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; }
if [ -x /usr/lib/wine/wine ] && ! e2e_runs_32bit; then
  case ":$PATH:" in
    *"/wine64-only:"*) ;;
    *) export PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64-only:$PATH" ;;
  esac
fi
export WINEDLLOVERRIDES="mscoree,mshtml="

# e2e_locale ja|en: the Unix locale that gives Wine its ANSI code page
# (ja: 932, en: 1252).
e2e_locale() {
  unset LC_ALL LC_CTYPE LC_MESSAGES LANGUAGE
  case "$1" in
    ja) export LANG=ja_JP.UTF-8 ;;
    en) export LANG=en_US.UTF-8 ;;
    *) echo "unknown locale '$1' (ja or en)" >&2; return 2 ;;
  esac
}

# e2e_start_display: uses $DISPLAY when set, else starts a 24-bit Xvfb on a
# free display number and waits until it answers. Sets e2e_xvfb_pid.
e2e_xvfb_pid=
e2e_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq $((100 + $$ % 300)) 499); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  e2e_xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    if xdpyinfo >/dev/null 2>&1; then return 0; fi
    if ! kill -0 "$e2e_xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY did not start" >&2
  return 1
}

e2e_stop_display() {
  if [ -n "$e2e_xvfb_pid" ]; then
    kill "$e2e_xvfb_pid" 2>/dev/null || true
    wait "$e2e_xvfb_pid" 2>/dev/null || true
    e2e_xvfb_pid=
  fi
}

# e2e_stop_wine: ends every process of this script's own prefix.
e2e_stop_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
}
