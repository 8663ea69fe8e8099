#!/usr/bin/env bash
# Builds and runs the benchmarks, then checks the speed targets:
#   a 20,480-character round trip (ASCII and double-byte) under 5 ms;
#   time(10 MiB) / time(1 MiB) at most 11 (linear scaling);
#   the strong envelope's round trip of 20,480 Japanese characters costs
#   under 5 % more than its two key derivations;
#   opening a strong envelope on a worker thread, as the tray does, costs
#   under 5 % more than opening it on the calling thread;
#   the tool, three 10,000,000-round blocks under a wrong password not in
#   NFC: no longer than under a wrong ASCII password plus one derivation
#   (within 5 %);
#   the received-text repair and the block reader: time(8 MiB) / time(1 MiB)
#   at most 12 for each kind of text (linear is 8; a search over the rest of the text per marker
#   would be 64); its time per MiB is reported;
#   the offline reader page's time to open one 600,000-round block in
#   headless Chromium, beside the native tool's (reported, no target);
#   the page opening a block of a 20 MiB text: its thread held at most
#   1,000 ms at a time, and a click on the other tab answered within
#   1,000 ms meanwhile.
# The machine is shared, so each benchmark runs several times (BENCH_REPS,
# default 3) and the fastest CPU time counts.
# usage: scripts/bench.sh [build dir]   (default build/bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUIREN_BUILD_BENCH=ON -DQUIREN_CIPHER_ONLY=OFF \
  -DQUIREN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target cipher_bench strong_bench block_bench worker_bench tool_bench quiren_tool
scripts/build-reader.sh "$build/quiren-reader.html" >/dev/null
for bench in cipher_bench strong_bench block_bench worker_bench tool_bench; do
  "$build/bin/$bench" --benchmark_out="$build/$bench.json" --benchmark_out_format=json \
    --benchmark_repetitions="${BENCH_REPS:-3}" --benchmark_display_aggregates_only=true
done
targets=0
python3 - "$build/cipher_bench.json" "$build/strong_bench.json" "$build/block_bench.json" "$build/worker_bench.json" \
  "$build/tool_bench.json" <<'PY' || targets=$?
import json, sys
runs = {}  # fastest repetition of each benchmark, by CPU time
for path in sys.argv[1:]:
    for b in json.load(open(path))["benchmarks"]:
        if b.get("run_type", "iteration") != "iteration":
            continue
        name = b.get("run_name", b["name"])
        if name not in runs or b["cpu_time"] < runs[name]["cpu_time"]:
            runs[name] = b
def ms(name):
    b = runs[name]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["cpu_time"] * scale  # CPU time: other builds share the machine
ok = True
print(f"keystream alone: {runs['BM_Keystream40960']['ns_per_byte_pass']:.2f} ns per byte per pass")
for name in ("BM_RoundTrip20480Ascii", "BM_RoundTrip20480Japanese"):
    t = ms(name)
    print(f"{name}: {t:.3f} ms, {runs[name]['ns_per_byte_pass']:.2f} ns per byte per pass (target < 5 ms)")
    ok &= t < 5.0
small, large = ms("BM_RoundTripBytes/1048576"), ms("BM_RoundTripBytes/10485760")
print(f"1 MiB: {small:.1f} ms, 10 MiB: {large:.1f} ms, ratio {large / small:.2f} (target <= 11)")
ok &= large / small <= 11
strong = min((b for b in runs.values() if b["name"].startswith("BM_StrongRoundTrip20480Japanese")),
             key=lambda b: b["cipher_share_pct"])
print(f"strong round trip: {strong['round_trip_ms']:.1f} ms, of which the two key derivations "
      f"{strong['derive_x2_ms']:.1f} ms; the cipher adds {strong['cipher_share_pct']:.2f} % (target < 5 %)")
ok &= strong["cipher_share_pct"] < 5.0
worker = min((b for b in runs.values() if b["name"].startswith("BM_StrongOpenOnWorker")),
             key=lambda b: b["worker_overhead_pct"])
print(f"strong open on a worker thread: {worker['worker_ms']:.1f} ms against {worker['here_ms']:.1f} ms here; "
      f"the worker adds {worker['worker_overhead_pct']:.2f} % (target < 5 %)")
ok &= worker["worker_overhead_pct"] < 5.0
for kind in ("BM_RepairQuotedThread", "BM_RepairThreadAsSent", "BM_RepairChatThread", "BM_RepairStartMarkers",
             "BM_ReadBlocksThread", "BM_ReadStrongBlocksThread"):
    small, large = ms(f"{kind}/1"), ms(f"{kind}/8")
    print(f"{kind}: {runs[kind + '/1']['ms_per_mib']:.2f} ms per MiB at 1 MiB, "
          f"{runs[kind + '/8']['ms_per_mib']:.2f} at 8 MiB, ratio {large / small:.2f} (target <= 12)")
    ok &= large / small <= 12
tool = min((b for b in runs.values() if b["name"].startswith("BM_ThreeLongBlocksUnderAWrongPassword")),
           key=lambda b: b["extra_derivations"])
print(f"three 10,000,000-round blocks, wrong password: decomposed {tool['decomposed_ms']:.0f} ms, ASCII "
      f"{tool['ascii_ms']:.0f} ms, one derivation {tool['derive_ms']:.0f} ms; the decomposed password costs "
      f"{tool['extra_derivations']:.2f} derivations more (target <= 1, within 5 %)")
ok &= tool["decomposed_ms"] <= (tool["ascii_ms"] + tool["derive_ms"]) * 1.05
print("bench: targets met" if ok else "bench: TARGET MISSED")
sys.exit(0 if ok else 1)
PY
page=0
/usr/bin/python3 bench/page_bench.py "$build/quiren-reader.html" "$build/bin/quiren" "${BENCH_REPS:-3}" || page=$?
[ "$targets" -eq 0 ] && [ "$page" -eq 0 ]
