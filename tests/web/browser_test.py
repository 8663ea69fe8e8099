#!/usr/bin/python3
"""The assembled reader page in a real browser (headless Chromium), against
the native tool:
    browser_test.py PAGE TOOL OUT_DIR
Blocks the tool writes open in the page with exactly their text, as sent
and as mail gives them back; blocks the page writes open in the tool with
exactly their text; a wrong password and changed characters show no text;
a compatible block gets the earlier-format message, a block for people's
keys the message that it needs a key, and a key block nothing; the seal tab's
"generate" button fills both password fields with a passphrase that the
tool then opens the block with; the page asks for nothing over the network
and carries its policy; a long run is asked about in the page, and Stop (at
the question, while a key is derived, while a large paste is read) returns
it to idle at once with no text. Screenshots of both tabs in both
languages, at desktop and phone width, and of the question and the Stop
button in both languages, land in OUT_DIR/screens.
"""
import pathlib
import subprocess
import sys
import tempfile
import time
import unittest

from page_driver import ReaderPage

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "vectors"))
import make_runs  # noqa: E402

PAGE = TOOL = OUT = None
PASSWORD = "合言葉🔑2026"
WRONG_PASSWORD = "パスワードが不正です。復号できません。 by む～くいれん"
COMPATIBLE = "この暗号文は以前の形式（互換形式）で作られているため、む～くいれん本体でしか復号できません。"
UNREADABLE = "暗号文が不正です。復号を中止します。"
NEEDS_KEY = "この暗号文は宛先の鍵で暗号化されています。開くには、宛先の人の鍵が必要です。このページはまだ鍵を扱えません。"
BASE64 = set("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")


def tool(*args, text, password=PASSWORD):
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt") as pw:
        pw.write(password + "\n")
        pw.flush()
        done = subprocess.run([TOOL, *args, "--password-file", pw.name], input=text.encode("utf-8"),
                              capture_output=True, check=False)
    if done.returncode != 0:
        raise AssertionError(f"quiren {' '.join(args)}: {done.stderr.decode('utf-8', 'replace')}")
    return done.stdout.decode("utf-8")


def tool_refusal(text, password=PASSWORD):
    """What the tool says on standard error when it refuses to decrypt."""
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt") as pw:
        pw.write(password + "\n")
        pw.flush()
        done = subprocess.run([TOOL, "decrypt", "--password-file", pw.name], input=text.encode("utf-8"),
                              capture_output=True, check=False)
    if done.returncode == 0:
        raise AssertionError("quiren decrypt read a damaged block")
    return done.stderr.decode("utf-8")


def screens():
    """The folder the screenshots go to, made when missing."""
    folder = pathlib.Path(OUT) / "screens"
    folder.mkdir(parents=True, exist_ok=True)
    return folder


def quoted(block, quote="> ", eol="\n"):
    return f"{quote}On Monday you wrote:{eol}" + eol.join(quote + line for line in block.split("\r\n")) + \
        f"{eol}{quote}{eol}Thanks."


def rewrapped(block, width):
    lines = block.split("\r\n")
    body = "".join(lines[1:-1])
    return "\r\n".join([lines[0], *(body[i:i + width] for i in range(0, len(body), width)), lines[-1]])


def changed(block, body_index):
    """The block with the body character at `body_index` (the mode letter is
    0) replaced by another base64 character."""
    lines = block.split("\r\n")
    body = "".join(lines[1:-1])
    c = body[body_index]
    body = body[:body_index] + ("B" if c != "B" else "C") + body[body_index + 1:]
    width = len(lines[1])
    out = [body[:width]] + [body[i:i + width] for i in range(width, len(body), width)]
    return "\r\n".join([lines[0], *out, lines[-1]])


class Reader(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.page = ReaderPage(PAGE, "ja")
        cls.page.requested_urls()

    @classmethod
    def tearDownClass(cls):
        cls.page.close()

    def test_1_tool_blocks_open_with_exactly_their_text(self):
        texts = {
            "Japanese with CR LF": "明日の打ち合わせは午前10時からです。\r\n場所は3階の第2会議室。\r\n",
            "emoji": "了解です😀🍣👍🏽 Café ☕",
            "the empty text": "",
            "20,480 characters": ("議事録：第3四半期の売上は前年比12％増。" * 1024)[:20480],
        }
        for what, text in texts.items():
            with self.subTest(what):
                self.assertEqual(self.page.open_text(tool("encrypt", text=text), PASSWORD), [["plain", text]])

        first = tool("encrypt", text="一通目の本文です。", password=PASSWORD)
        second = tool("encrypt", "-w", "30", text="二通目：予算案（第3版）", password=PASSWORD)
        mail = f"山田様\r\n\r\n{first}\r\n\r\n追加です。\r\n{second}\r\n\r\nよろしくお願いします。"
        self.assertEqual(self.page.open_text(mail, PASSWORD),
                         [["plain", "一通目の本文です。"], ["plain", "二通目：予算案（第3版）"]], "two blocks in one mail")

        block = tool("encrypt", text="返信で戻ってきた暗号文", password=PASSWORD)
        forms = {
            "quoted '> ', LF": quoted(block),
            "quoted '>> ', re-wrapped at 76": quoted(rewrapped(block, 76), ">> ", "\r\n"),
            "zero-width spaces every 20 characters": "\r\n".join(
                "\u200b".join(line[i:i + 20] for i in range(0, len(line), 20)) for line in block.split("\r\n")),
        }
        for what, text in forms.items():
            with self.subTest(what):
                self.assertEqual(self.page.open_text(text, PASSWORD), [["plain", "返信で戻ってきた暗号文"]])

    def test_2_page_blocks_open_in_the_tool(self):
        texts = [
            ("Japanese with CR LF, width 60", "来週の監査は火曜日の午前9時から。\r\n資料は共有フォルダーへ。", 60),
            ("emoji, width 10", "よろしく🙏😀", 10),
            ("the empty text, width 100", "", 100),
            ("20,480 characters", ("パートナー企業への連絡事項。" * 2000)[:20480], 60),
        ]
        for what, text, width in texts:
            with self.subTest(what):
                block = self.page.seal_text(text, PASSWORD, width)
                self.assertIsInstance(block, str, block)
                lines = block.split("\r\n")
                self.assertEqual((lines[0], lines[-1]), ("(quiren_start)", "(quiren_end)"))
                self.assertTrue(all(len(line) <= width for line in lines[1:-1]), what)
                self.assertEqual(lines[1][0], "C")
                self.assertLessEqual(set("".join(lines[1:-1])[1:]), BASE64)
                self.assertEqual(tool("decrypt", text=block), text)

    def test_3_wrong_password_and_changed_characters_show_no_text(self):
        block = self.page.seal_text("見せてはいけない本文", PASSWORD)
        self.assertEqual(self.page.open_text(block, "違うパスワード"), [["failed", WRONG_PASSWORD]])
        length = len("".join(block.split("\r\n")[1:-1]))
        # In the salt, the nonce, the text and the tag: only the tag check can
        # tell, and it shows the wrong-password text.
        for index in (15, 40, 52, 64, length - 3):
            with self.subTest(f"body character {index}"):
                shown = self.page.open_text(changed(block, index), PASSWORD)
                self.assertEqual([kind for kind, _ in shown], ["failed"], shown)
                self.assertNotIn("見せて", repr(shown))
        # A character no block holds, or one lost: the page says where, on
        # the line and at the character the tool names.
        lines = quoted(block).split("\n")
        with_emoji = "\n".join(lines[:3] + [lines[3][:18] + "😀" + lines[3][19:]] + lines[4:])
        short = "\n".join(lines[:3] + [lines[3][:18] + lines[3][19:]] + lines[4:])
        for what, text, where in (
                ("an emoji in place of a character", with_emoji,
                 "4 行目の 19 文字目「😀」(U+1F600) は暗号文に使われない文字です。"),
                # Two body lines: the last one is named.
                ("a character lost", short,
                 "暗号文の文字数が合いません。4 行目（最後の行）までのどこかで文字が欠けているか、増えています。")):
            with self.subTest(what):
                self.assertEqual(self.page.open_text(text, PASSWORD), [["failed", UNREADABLE], ["where", where]])
                self.assertIn("line 4", tool_refusal(text))
                if "😀" in text:
                    self.assertIn("line 4, character 19", tool_refusal(text))
        # The version and the round count are read before any password.
        for index in (1, 6):
            with self.subTest(f"header character {index}"):
                shown = self.page.open_text(changed(block, index), PASSWORD)
                self.assertEqual(len(shown), 1)
                self.assertNotEqual(shown[0][0], "plain")

    def test_4_compatible_block_gets_the_earlier_format_message(self):
        block = tool("encrypt", "--compatible", text="以前の形式の暗号文", password="abc123")
        self.assertEqual(self.page.open_text(block, "abc123"), [["failed", COMPATIBLE]])

    def test_4b_a_block_for_keys_needs_a_key_and_a_key_block_shows_nothing(self):
        with tempfile.TemporaryDirectory() as work:
            key = str(pathlib.Path(work) / "me.key")
            key_block = subprocess.run([TOOL, "key", "new", "--name", "me", "--out", key, "--no-passphrase"],
                                       capture_output=True, check=True).stdout.decode("ascii")
            to = pathlib.Path(work) / "to.txt"
            to.write_text(key_block, encoding="ascii")
            block = subprocess.run([TOOL, "encrypt", "--key", key, "--to", str(to)], input="鍵の暗号文".encode("utf-8"),
                                   capture_output=True, check=True).stdout.decode("ascii")
        strong = tool("encrypt", text="パスワードの暗号文")
        shown = self.page.open_text(f"{key_block}\r\n{quoted(block)}\r\n{strong}", PASSWORD)
        self.assertEqual(shown, [["failed", NEEDS_KEY], ["plain", "パスワードの暗号文"]])

    def test_4a_generated_passphrase_fills_both_fields_and_seals(self):
        page = self.page
        page.tab("seal")
        fields = """return ['seal-password', 'seal-confirm', 'show-seal-password'].map(id => {
            const e = document.getElementById(id);
            return e.type === 'checkbox' ? e.checked : [e.value, e.type, e.disabled]; });"""
        for kana, separator, count in ((False, "-", 6), (True, "\u3000", 7)):
            with self.subTest(kana=kana):
                if page.js("return document.getElementById('passphrase-kana').checked") != kana:
                    page.click("passphrase-kana")
                page.fill("seal-password", "typed before")
                page.click("generate-passphrase")
                (password, kind, _), (confirmation, confirm_kind, confirm_disabled), shown = page.js(fields)
                self.assertEqual(password, confirmation)
                self.assertEqual((kind, confirm_kind, confirm_disabled, shown), ("text", "text", True, True))
                if kana:
                    self.assertEqual(len(password.split(separator)), count, password)
                    self.assertTrue(all("\u3041" <= c <= "\u3096" for c in password.replace(separator, "")))
                else:
                    self.assertGreaterEqual(password.count(separator), count - 1, password)
                    self.assertTrue(password.replace("-", "").isascii() and password.replace("-", "").isalpha())
                page.click("generate-passphrase")
                self.assertNotEqual(page.js(fields)[0][0], password, "a new one each time")
                password = page.js(fields)[0][0]
                page.fill("compose", "生成したパスワードで")
                page.click("seal")
                page.wait_idle("seal")
                block = page.js("return document.getElementById('sealed').textContent")
                self.assertTrue(block.startswith("(quiren_start)"), block)
                self.assertEqual(tool("decrypt", text=block, password=password), "生成したパスワードで")
        page.click("passphrase-kana")
        page.click("show-seal-password")
        self.assertEqual(page.js(fields), [["", "password", False], ["", "password", False], False],
                         "masked again, both fields empty for the next tests")

    def test_5_page_policy_and_no_request(self):
        policy = self.page.js("return document.querySelector('meta[http-equiv=\"Content-Security-Policy\"]').content")
        for directive in ("default-src 'none'", "connect-src 'none'", "form-action 'none'"):
            self.assertIn(directive, policy)
        self.assertEqual(self.page.console_problems(), [])
        # Everything the earlier tests did, and a try from the page itself,
        # which the policy refuses.
        self.page.js("fetch('https://example.invalid/x').catch(() => {})")
        urls = self.page.requested_urls()
        self.assertEqual([u for u in urls if not u.startswith("file:")], [], urls)
        refused = self.page.console_problems()
        self.assertTrue(any("connect-src" in m for m in refused), refused)

    def test_6_language_and_screenshots(self):
        folder = screens()
        for language in ("ja", "en-US"):
            page = ReaderPage(PAGE, language)
            try:
                lang = page.js("return document.documentElement.lang")
                self.assertEqual(lang, "ja" if language == "ja" else "en")
                opened = page.open_text(tool("encrypt", text="明日10時、第2会議室で。\r\nよろしくお願いします。"),
                                        PASSWORD)
                self.assertEqual(opened[0][0], "plain")
                for width, name in ((1000, "desktop"), (390, "phone")):
                    page.tab("open")
                    page.screenshot(folder / f"open-{lang}-{name}.png", width, mobile=name == "phone")
                sealed = page.seal_text("来週の資料です。", PASSWORD)
                self.assertIsInstance(sealed, str)
                for width, name in ((1000, "desktop"), (390, "phone")):
                    page.screenshot(folder / f"seal-{lang}-{name}.png", width, mobile=name == "phone")
                # The switch changes every text, the results' too.
                page.click("lang-en" if lang == "ja" else "lang-ja")
                other = "en" if lang == "ja" else "ja"
                self.assertEqual(page.js("return document.documentElement.lang"), other)
                self.assertEqual(page.js("return document.getElementById('seal').textContent"),
                                 "Encrypt" if other == "en" else "暗号化")
                self.assertEqual(page.console_problems(), [])
            finally:
                page.close()


# Counts the key derivations the page asks WebCrypto for, by their rounds,
# and those that have ended.
COUNT_DERIVATIONS = """
  window.derived = [];
  window.derivationsEnded = 0;
  const derive = crypto.subtle.deriveKey.bind(crypto.subtle);
  crypto.subtle.deriveKey = (algorithm, ...rest) => {
    window.derived.push(algorithm.iterations);
    return derive(algorithm, ...rest).finally(() => { window.derivationsEnded++; });
  };"""


def long_blocks(n):
    """`n` blocks of 10,000,000 rounds each (keys of one round: what matters
    here is the time they ask for)."""
    return "\r\n\r\n".join(make_runs.strong("長い %d" % i, "pw", make_runs.MOST, 60 + i)["block"] for i in range(n))


class LongRuns(unittest.TestCase):
    def idle(self, page):
        return page.js("""const $ = (id) => document.getElementById(id);
            return !$('open').disabled && $('open-busy').hidden && $('open-cancel').hidden &&
                   $('rounds-question').hidden && $('results').children.length === 0;""")

    def wait(self, page, what, seconds):
        began = time.monotonic()
        while not page.js("return " + what):
            if time.monotonic() - began > seconds:
                return None
            time.sleep(0.02)
        return time.monotonic() - began

    def test_1_the_question_and_stop(self):
        folder = screens()
        for language in ("ja", "en-US"):
            page = ReaderPage(PAGE, language)
            try:
                lang = page.js("return document.documentElement.lang")
                page.js(COUNT_DERIVATIONS)
                page.fill("received", long_blocks(4))
                page.fill("password", "pw")

                # Four blocks of 10,000,000 rounds: asked in the page; Stop
                # derives nothing (the estimate's own short derivation aside).
                page.click("open")
                self.assertIsNotNone(self.wait(page, "!document.getElementById('rounds-question').hidden", 60))
                question = page.js("return document.getElementById('rounds-text').textContent")
                self.assertIn("4 件" if lang == "ja" else "4 blocks", question)
                self.assertTrue(page.js("return document.activeElement.id === 'rounds-stop'"), "Stop is the default")
                page.screenshot(folder / f"question-{lang}.png", 1000)
                page.click("rounds-stop")
                self.assertTrue(self.idle(page), "idle at once after Stop")
                self.assertEqual([r for r in page.js("return window.derived") if r >= 100000], [])

                # Continue, then Stop while the first key is derived: idle
                # within a second, and the derivation ends unseen.
                page.click("open")
                self.assertIsNotNone(self.wait(page, "!document.getElementById('rounds-question').hidden", 60))
                page.click("rounds-continue")
                self.assertIsNotNone(self.wait(page, "window.derived.includes(10000000)", 30))
                self.assertTrue(page.js("return !document.getElementById('open-cancel').hidden"))
                page.screenshot(folder / f"stop-{lang}.png", 1000)
                began = time.monotonic()
                page.click("open-cancel")
                while not self.idle(page):
                    self.assertLess(time.monotonic() - began, 1.0, "idle within a second of Stop")
                    time.sleep(0.02)
                self.assertIsNotNone(self.wait(page, "window.derivationsEnded === window.derived.length", 120))
                time.sleep(0.3)
                self.assertTrue(self.idle(page), "nothing shown once the stopped derivation ended")
                self.assertEqual(page.js("return window.derived.filter((r) => r === 10000000).length"), 1,
                                 "no other block's key was derived after Stop")
                self.assertEqual(page.console_problems(), [])
            finally:
                page.close()

    def test_2_a_large_paste_leaves_stop_answering(self):
        page = ReaderPage(PAGE, "ja")
        try:
            block = tool("encrypt", text="大きな貼り付け", password=PASSWORD)
            # 16 MiB of a quoted mail thread that holds the block again and
            # again, made in the page (sending it through the driver would
            # take longer than the reading).
            page.js("""const quoted = '> ' + arguments[0].split('\\r\\n').join('\\n> ') + '\\n';
                document.getElementById('received').value = quoted.repeat(Math.ceil((16 << 20) / quoted.length));""",
                    block)
            page.fill("password", PASSWORD)
            # The page's own clock: how long its thread is ever held while
            # it reads.
            page.js("""window.ticks = [];
                window.ticking = setInterval(() => window.ticks.push(performance.now()), 10);
                document.getElementById('open').click();""")
            time.sleep(1.5)
            self.assertFalse(self.idle(page), "still reading")
            page.click("open-cancel")
            self.assertTrue(self.idle(page), "idle at once after Stop")
            held = page.js("""clearInterval(window.ticking);
                return Math.max(...window.ticks.slice(1).map((t, i) => t - window.ticks[i]));""")
            self.assertLess(held, 500, "the page's thread was held for %d ms while it read" % held)
            # Let to read to its end, the page asks before the keys of so
            # many blocks; the tabs answer meanwhile.
            page.click("open")
            page.tab("seal")
            self.assertTrue(page.js("return !document.getElementById('panel-seal').hidden"))
            page.tab("open")
            self.assertIsNotNone(self.wait(page, "!document.getElementById('rounds-question').hidden", 120))
            page.click("rounds-stop")
            self.assertTrue(self.idle(page))
        finally:
            page.close()


if __name__ == "__main__":
    PAGE, TOOL, OUT = sys.argv[1:4]
    del sys.argv[1:4]
    unittest.main(verbosity=2)
