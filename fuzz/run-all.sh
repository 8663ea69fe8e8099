#!/usr/bin/env bash
# Runs every cipher fuzzer of a fuzz build for a bounded time each:
#   fuzz/run-all.sh <build dir> <seconds per fuzzer>
# Fails when a fuzzer finds a crash (its reproducer is kept in the work dir).
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quiren-fuzz-XXXXXX")
status=0
for name in fuzz_decrypt fuzz_code_table fuzz_received_text; do
  exe=$build/bin/$name
  [ -x "$exe" ] || { echo "run-all: $exe is missing" >&2; exit 1; }
  mkdir -p "$work/$name/corpus"
  [ -d "$here/corpus/$name" ] && cp "$here/corpus/$name"/* "$work/$name/corpus/" 2>/dev/null || true
  echo "run-all: $name for ${seconds}s"
  # Each fuzzer runs in its own directory: the table fuzzer writes its file there.
  if ! (cd "$work/$name" && "$exe" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
        -print_final_stats=0 corpus >"$work/$name.log" 2>&1); then
    echo "run-all: $name FAILED; log and reproducer in $work/$name" >&2
    tail -40 "$work/$name.log" >&2
    status=1
  else
    grep -E '^(#[0-9]+ *DONE|Done)' "$work/$name.log" | tail -1 || true
  fi
done
[ $status -ne 0 ] || rm -rf "$work"
exit $status
