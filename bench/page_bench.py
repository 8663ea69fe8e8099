#!/usr/bin/python3
"""The reader page in headless Chromium, beside the native tool:
    page_bench.py PAGE TOOL [REPS]
  - the time to open one strong block (600,000 rounds), from the click on
    the page's button to the text shown, measured inside the page; the
    tool's is the whole run of `quiren decrypt` (reported, no target);
  - a block holding a 20 MiB text, chosen as a file and opened: how long
    the page's thread is ever held while it opens (a timer ticks every
    10 ms inside the page), and how long a click on the other tab takes to
    be answered meanwhile (timed from here). Target: about a second at
    most for each (1,000 ms), so the tab never freezes.
The fastest of REPS (default 3) counts for each: the machine is shared.
Exits 1 when a target is missed.
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
from page_driver import ReaderPage  # noqa: E402

OPEN_IN_PAGE = """
const [received, password, done] = arguments;
document.getElementById('tab-open').click();
document.getElementById('received').value = received;
document.getElementById('password').value = password;
const button = document.getElementById('open');
const began = performance.now();
button.click();
const poll = () => {
  if (!button.disabled) done([performance.now() - began, document.querySelectorAll('#results .plain').length]);
  else setTimeout(poll, 2);
};
poll();
"""

# The page's own clock while it opens: the longest gap between ticks.
START_TICKING = """window.ticks = [];
window.ticking = setInterval(() => window.ticks.push(performance.now()), 10);
window.began = performance.now();
document.getElementById('open').click();"""
LONGEST_HOLD = """clearInterval(window.ticking);
return [performance.now() - window.began, Math.max(...window.ticks.slice(1).map((t, i) => t - window.ticks[i])),
        document.querySelectorAll('#results .plain').length];"""

TARGET_MS = 1000


def one_block(page_path, tool, pw, reps):
    text = "ベンチマーク用の本文です。" * 100
    block = subprocess.run([tool, "encrypt", "--password-file", pw], input=text.encode(), check=True,
                           capture_output=True).stdout
    tool_ms = []
    for _ in range(reps):
        began = time.perf_counter()
        out = subprocess.run([tool, "decrypt", "--password-file", pw], input=block, check=True,
                             capture_output=True).stdout
        tool_ms.append((time.perf_counter() - began) * 1000)
        assert out.decode() == text
    page = ReaderPage(page_path)
    try:
        page.driver.set_script_timeout(120)
        page_ms = []
        for _ in range(reps):
            ms, opened = page.driver.execute_async_script(OPEN_IN_PAGE, block.decode(), "bench-password")
            assert opened == 1, "the page did not open the block"
            page_ms.append(ms)
    finally:
        page.close()
    print(f"reader page (headless Chromium): one 600,000-round block opened in {min(page_ms):.0f} ms; "
          f"native tool: {min(tool_ms):.0f} ms; ratio {min(page_ms) / min(tool_ms):.2f}")


def large_text(page_path, tool, pw, folder, reps):
    line = "議事録：第3四半期の売上は前年比12％増。来期の計画は別紙のとおり。\r\n"
    text = line * ((20 << 20) // len(line.encode("utf-8")))
    block = pathlib.Path(folder) / "large.txt"
    block.write_bytes(subprocess.run([tool, "encrypt", "--password-file", pw], input=text.encode("utf-8"),
                                     check=True, capture_output=True).stdout)
    runs = []
    for _ in range(reps):
        page = ReaderPage(page_path)
        try:
            page.choose_file(block)
            page.wait_for("!document.getElementById('received-long-note').hidden", 60)
            page.fill("password", "bench-password")
            page.js(START_TICKING)
            time.sleep(0.3)
            began = time.perf_counter()
            page.tab("seal")
            assert page.js("return !document.getElementById('panel-seal').hidden")
            click_ms = (time.perf_counter() - began) * 1000
            page.tab("open")
            page.wait_idle("open")
            total_ms, held_ms, opened = page.js(LONGEST_HOLD)
            assert opened == 1, "the page did not open the large block"
            runs.append((held_ms, click_ms, total_ms))
        finally:
            page.close()
    held_ms, click_ms, total_ms = min(runs)
    met = held_ms <= TARGET_MS and click_ms <= TARGET_MS
    print(f"reader page, a 20 MiB text ({block.stat().st_size / 2**20:.1f} MiB block) opened in {total_ms:.0f} ms: "
          f"its thread held at most {held_ms:.0f} ms, a click on the other tab answered in {click_ms:.0f} ms "
          f"(target <= {TARGET_MS} ms each){'' if met else ': TARGET MISSED'}")
    return met


def main():
    page_path, tool = sys.argv[1:3]
    reps = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    with tempfile.TemporaryDirectory() as tmp:
        pw = os.path.join(tmp, "pw.txt")
        pathlib.Path(pw).write_text("bench-password\n", encoding="utf-8")
        one_block(page_path, tool, pw, reps)
        met = large_text(page_path, tool, pw, tmp, reps)
    sys.exit(0 if met else 1)


if __name__ == "__main__":
    main()
