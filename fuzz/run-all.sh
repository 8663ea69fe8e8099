#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for a bounded time each:
#   fuzz/run-all.sh <build dir> <seconds per run>
# Each run starts from the seeds in fuzz/corpus/<fuzzer>. fuzz_decrypt runs
# twice: once without a shared table and once with fuzz/DfFugoList.lst in
# its folder, so shared-table blocks expand. (fuzz/make-seeds.py writes the
# seeds and the table.) fuzz_received_text also starts from every form of
# the shared table of received forms (fuzz/received-seeds.py); fuzz_strong
# from valid strong envelopes and blocks (fuzz/strong-seeds.py); fuzz_keys
# from the shared vectors' key and recipient blocks (fuzz/keys-seeds.py).
# Fails when a fuzzer finds a crash (its reproducer is kept in the work dir).
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quiren-fuzz-XXXXXX")
status=0
# Each run: its name (and folder), the fuzzer, and whether the table is there.
for run in "fuzz_decrypt fuzz_decrypt" "fuzz_code_table fuzz_code_table" \
           "fuzz_decrypt_shared_table fuzz_decrypt table" "fuzz_received_text fuzz_received_text" \
           "fuzz_strong fuzz_strong" "fuzz_keys fuzz_keys"; do
  read -r name fuzzer table <<<"$run"
  exe=$build/bin/$fuzzer
  [ -x "$exe" ] || { echo "run-all: $exe is missing" >&2; exit 1; }
  mkdir -p "$work/$name/corpus"
  [ -d "$here/corpus/$fuzzer" ] && cp "$here/corpus/$fuzzer"/* "$work/$name/corpus/" 2>/dev/null || true
  [ "$fuzzer" != fuzz_received_text ] || python3 "$here/received-seeds.py" "$work/$name/corpus"
  [ "$fuzzer" != fuzz_strong ] || python3 "$here/strong-seeds.py" "$work/$name/corpus"
  [ "$fuzzer" != fuzz_keys ] || python3 "$here/keys-seeds.py" "$work/$name/corpus"
  [ -z "${table:-}" ] || cp "$here/DfFugoList.lst" "$work/$name/"
  echo "run-all: $name for ${seconds}s"
  # Each run has its own directory: the table fuzzer writes its file there.
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
