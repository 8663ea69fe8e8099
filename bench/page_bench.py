#!/usr/bin/python3
"""The reader page's time to open one strong block (600,000 rounds) in
headless Chromium, beside the native tool's for the same block:
    page_bench.py PAGE TOOL [REPS]
The page's time runs from the click on its button to the text shown,
measured inside the page; the tool's is the whole run of `quiren decrypt`.
The fastest of REPS (default 3) counts for each: the machine is shared.
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


def main():
    page_path, tool = sys.argv[1:3]
    reps = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    password = "bench-password"
    text = "ベンチマーク用の本文です。" * 100
    with tempfile.TemporaryDirectory() as tmp:
        pw = os.path.join(tmp, "pw.txt")
        pathlib.Path(pw).write_text(password + "\n", encoding="utf-8")
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
            ms, opened = page.driver.execute_async_script(OPEN_IN_PAGE, block.decode(), password)
            assert opened == 1, "the page did not open the block"
            page_ms.append(ms)
    finally:
        page.close()
    print(f"reader page (headless Chromium): one 600,000-round block opened in {min(page_ms):.0f} ms; "
          f"native tool: {min(tool_ms):.0f} ms; ratio {min(page_ms) / min(tool_ms):.2f}")


if __name__ == "__main__":
    main()
