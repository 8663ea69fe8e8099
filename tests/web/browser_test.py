#!/usr/bin/python3
"""The assembled reader page in a real browser (headless Chromium), against
the native tool:
    browser_test.py PAGE TOOL OUT_DIR
Blocks the tool writes open in the page with exactly their text, as sent
and as mail gives them back; blocks the page writes open in the tool with
exactly their text; a wrong password and changed characters show no text,
only the words that name both; a compatible block gets the earlier-format
message, a block for people's keys the message that it needs a key, and a
key block nothing; the seal tab's
"generate" button fills both password fields with a passphrase that the
tool then opens the block with; the page asks for nothing over the network
and carries its policy; a long run is asked about in the page, and Stop (at
the question, while a key is derived, while a large paste is read) returns
it to idle at once with no text. What recipients asked for: the keyboard
reaches the tabs; a written block is in view, selected, its Copy button
focused; a saved mail (.eml, .txt) chosen or dropped fills the received
box; Save downloads the whole text; Clear empties the page; an empty text
is sealed only when the user says so; a refused clipboard gets the Ctrl+C
line; phone-sized fields, buttons and borders; a 20 MiB text opens shown in
part and copies whole (its speed is bench/page_bench.py's). Keys, both ways
with the tool: a key made in the page is read by the tool with the same
digits and its saved secret key opens there under the passphrase; a block
the tool writes to it opens in the page naming the tool's key; the page
seals to the tool's key from the page user's key or a one-off key, and the
tool names that sender or one nobody knows; a block for another key, a
changed character and a wrong passphrase show no text. Screenshots of the
three tabs in both languages, at desktop and phone width, and of the
question and the Stop button in both languages, land in OUT_DIR/screens.
"""
import email.charset
import email.mime.text
import email.policy
import pathlib
import re
import subprocess
import sys
import tempfile
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

from page_driver import ReaderPage

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "vectors"))
import make_runs  # noqa: E402

PAGE = TOOL = OUT = None
PASSWORD = "合言葉🔑2026"
# A strong block that does not open: a wrong password and a changed
# character alike.
NOT_OPENED = {"ja": "パスワードが違うか、暗号文が途中で変更されています",
              "en": "Wrong password, or the block was changed on the way"}
COMPATIBLE = "この暗号文は以前の形式（互換形式）で作られているため、む～くいれん本体でしか復号できません。"
UNREADABLE = "暗号文が不正です。復号を中止します。"
NEEDS_KEY = "この暗号文は宛先の鍵で暗号化されています。開くには、宛先の人の鍵が必要です。「あなたの鍵」に秘密鍵を指定して下さい。"
NOT_FOR_THIS_KEY = "この暗号文はあなた宛てではないか、途中で変更されています"
WRONG_KEY_PASSPHRASE = "秘密鍵のパスフレーズが違うか、秘密鍵のファイルが途中で変更されています。"
KEY_PASSPHRASE = "鍵の合言葉 2026"
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
        self.assertEqual(self.page.open_text(block, "違うパスワード"), [["failed", NOT_OPENED["ja"]]])
        length = len("".join(block.split("\r\n")[1:-1]))
        # In the salt, the nonce, the text and the tag: only the tag check can
        # tell, and it shows the same text as a wrong password (near the end a
        # change may leave bits no encoder writes: damaged, no text either).
        for index in (15, 40, 52, 64, length - 3):
            with self.subTest(f"body character {index}"):
                shown = self.page.open_text(changed(block, index), PASSWORD)
                self.assertEqual([kind for kind, _ in shown], ["failed"], shown)
                self.assertNotIn("見せて", repr(shown))
                if index < length - 4:
                    self.assertEqual(shown, [["failed", NOT_OPENED["ja"]]])
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
                made = page.make_key("山田 花子" if lang == "ja" else "Hanako Yamada", KEY_PASSPHRASE)
                self.assertEqual(len(made), 3, made)
                page.fill("key-check", made[0])
                page.wait_for("!document.getElementById('key-check-digits').hidden")
                for width, name in ((1000, "desktop"), (390, "phone")):
                    page.screenshot(folder / f"keys-{lang}-{name}.png", width, mobile=name == "phone")
                # The switch changes every text, the results' too.
                page.click("lang-en" if lang == "ja" else "lang-ja")
                other = "en" if lang == "ja" else "ja"
                self.assertEqual(page.js("return document.documentElement.lang"), other)
                self.assertEqual(page.js("return document.getElementById('seal').textContent"),
                                 "Encrypt" if other == "en" else "暗号化")
                self.assertEqual(page.js("return document.getElementById('make-key').textContent"),
                                 "Make a key" if other == "en" else "鍵を作る")
                name = "山田 花子" if lang == "ja" else "Hanako Yamada"
                self.assertEqual(page.key_list("key-check-digits"), [f"{name}: {made[1]}"])
                self.assertEqual(page.console_problems(), [])
            finally:
                page.close()


def saved_mail(body, charset, encoding):
    """A mail as a mail program saves it (.eml), written by Python's own
    email package: `body` in `charset`, in the transfer encoding
    `encoding` (email.charset.QP, BASE64, or None for 7bit)."""
    cs = email.charset.Charset(charset)
    cs.body_encoding = encoding
    message = email.mime.text.MIMEText(body, "plain", cs)
    message["From"] = "yamada@example.com"
    message["Subject"] = "Quotation"
    return message.as_bytes(policy=email.policy.SMTP)


# Records what Copy hands the clipboard, or refuses it as a browser may.
RECORD_CLIPBOARD = """window.copied = [];
    navigator.clipboard.writeText = (text) => { window.copied.push(text); return Promise.resolve(); };"""
REFUSE_CLIPBOARD = """navigator.clipboard.writeText =
    () => Promise.reject(new DOMException('Write permission denied.', 'NotAllowedError'));"""


class WhatRecipientsAskedFor(unittest.TestCase):
    """The page as a recipient uses it: keys, files, copy, save, clear."""

    def new_page(self, language="ja", width=1100, height=900):
        page = ReaderPage(PAGE, language, width, height)
        page.requested_urls()
        self.addCleanup(page.close)
        return page

    def assert_nothing_sent(self, page):
        """Only the page's own file, and the files it made (blob:), were
        asked for; no policy or script complaint."""
        urls = page.requested_urls()
        self.assertEqual([u for u in urls if not u.startswith(("file:", "blob:"))], [], urls)
        self.assertEqual(page.console_problems(), [])

    def active(self, page):
        return page.js("return document.activeElement.id")

    def test_1_the_keyboard_reaches_the_tabs(self):
        page = self.new_page()
        # From the top of the page, as a user starts.
        page.driver.find_element("tag name", "h1").click()
        keys = ActionChains(page.driver)
        reached = []
        for _ in range(8):
            keys.send_keys(Keys.TAB).perform()
            reached.append(self.active(page))
            if reached[-1] == "tab-open":
                break
        self.assertEqual(reached[-1], "tab-open", reached)
        self.assertFalse({"tab-seal", "tab-keys"} & set(reached), "only the selected tab is in the Tab order")
        selected = """return [...document.querySelectorAll('[role=tab]')].filter((t) => t.ariaSelected === 'true')
            .map((t) => [t.id, t.tabIndex, document.getElementById(t.getAttribute('aria-controls')).hidden,
                         document.activeElement === t]);"""
        for key, tab in ((Keys.ARROW_RIGHT, "tab-seal"), (Keys.ARROW_RIGHT, "tab-keys"), (Keys.ARROW_RIGHT, "tab-open"),
                         (Keys.ARROW_LEFT, "tab-keys"), (Keys.HOME, "tab-open"), (Keys.END, "tab-keys"),
                         (Keys.ARROW_LEFT, "tab-seal")):
            keys.send_keys(key).perform()
            self.assertEqual(page.js(selected), [[tab, 0, False, True]], key)
        self.assertTrue(page.js("return document.getElementById('panel-open').hidden"))
        self.assertTrue(page.js("return document.getElementById('panel-keys').hidden"))
        # Tab goes on into the selected tab's panel, Shift+Tab comes back.
        keys.send_keys(Keys.TAB).perform()
        self.assertEqual(self.active(page), "compose")
        keys.key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
        self.assertEqual(self.active(page), "tab-seal")
        self.assert_nothing_sent(page)

    def test_2_after_sealing_the_block_is_in_view_selected_and_copy_has_the_focus(self):
        for language in ("ja", "en-US"):
            for width, height in ((1000, 700), (390, 640)):
                with self.subTest(language=language, width=width):
                    page = self.new_page(language, width, height)
                    block = page.seal_text("来週の資料です。", PASSWORD)
                    self.assertIsInstance(block, str, block)
                    state = page.js("""const box = document.getElementById('sealed');
                        const r = box.getBoundingClientRect();
                        return [window.scrollY > 0, r.top >= 0 && r.bottom <= window.innerHeight,
                                box.selectionStart, box.selectionEnd, box.value.length, document.activeElement.id,
                                box.scrollWidth <= box.clientWidth];""")
                    scrolled, in_view, start, end, length, focused, wraps = state
                    self.assertTrue(scrolled and in_view, state)
                    self.assertEqual((start, end, focused), (0, length, "copy-sealed"), state)
                    self.assertTrue(wraps, "the block wraps inside its box")
                    page.js(RECORD_CLIPBOARD)
                    ActionChains(page.driver).send_keys(Keys.ENTER).perform()
                    page.wait_for("window.copied.length === 1")
                    self.assertEqual(page.js("return window.copied[0]"), block)
                    self.assertEqual(tool("decrypt", text=block), "来週の資料です。")

    def test_3_a_changed_character_shows_the_new_wording_in_both_languages(self):
        block = tool("encrypt", text="見せてはいけない本文")
        for language, lang in (("ja", "ja"), ("en-US", "en")):
            with self.subTest(language):
                page = self.new_page(language)
                self.assertEqual(page.open_text(changed(block, 52), PASSWORD), [["failed", NOT_OPENED[lang]]])
                self.assertEqual(page.open_text(block, "違う"), [["failed", NOT_OPENED[lang]]])
                # Compatible blocks keep their own text.
                old = tool("encrypt", "--compatible", text="以前の形式", password="abc")
                self.assertNotEqual(page.open_text(old, "abc")[0][1], NOT_OPENED[lang])
                self.assert_nothing_sent(page)

    def test_4_a_saved_mail_chosen_or_dropped_fills_the_received_box(self):
        block = tool("encrypt", text="見積書の金額は税込 1,280,000 円です。")
        body = f"山田様\r\n\r\nお世話になっております。\r\n\r\n{block}\r\n\r\nよろしくお願いします。\r\n"
        files = {
            "mail.eml": saved_mail(body, "utf-8", email.charset.BASE64),
            "reply.eml": saved_mail("\r\n".join("> " + line for line in body.split("\r\n")), "utf-8",
                                    email.charset.QP),
            "iso-2022-jp.eml": saved_mail(body, "iso-2022-jp", None),
            "notepad.txt": body.encode("shift_jis"),
        }
        page = self.new_page()
        received = "return document.getElementById('received').value"
        with tempfile.TemporaryDirectory() as folder:
            for name, data in files.items():
                for how in ("chosen", "dropped"):
                    with self.subTest(name=name, how=how):
                        page.fill("received", "")
                        if how == "chosen":
                            path = pathlib.Path(folder) / name
                            path.write_bytes(data)
                            page.choose_file(path)
                        else:
                            page.drop_file(name, data)
                        page.wait_for("document.getElementById('received-file-note').textContent !== ''")
                        self.assertIn(name, page.js("return document.getElementById('received-file-note').textContent"))
                        self.assertEqual(self.active(page), "password", "the next step has the focus")
                        text = page.js(received)
                        self.assertIn("お世話になっております。", text)
                        self.assertEqual(page.open_received(PASSWORD), [["plain", "見積書の金額は税込 1,280,000 円です。"]])
        self.assert_nothing_sent(page)

    def test_4a_a_long_paste_is_held_whole_and_the_box_shows_its_beginning(self):
        page = self.new_page()
        block = tool("encrypt", text="長い貼り付けの最後の暗号文")
        # The block lies past what the box shows: opening it proves the whole
        # text was read.
        pasted = ("前の文章。" * 40000) + "\r\n" + block + "\r\n"
        page.fill("received", "前置き\n")
        page.js("""const box = document.getElementById('received');
            box.setSelectionRange(box.value.length, box.value.length);
            const transfer = new DataTransfer();
            transfer.setData('text/plain', arguments[0]);
            box.dispatchEvent(new ClipboardEvent('paste', { clipboardData: transfer, bubbles: true, cancelable: true }));""",
                pasted)
        state = page.js("""const box = document.getElementById('received');
            return [box.value.startsWith('前置き\\n前の文章。'), box.value.length <= 100000,
                    document.getElementById('received-long-note').hidden];""")
        self.assertEqual(state, [True, True, False])
        self.assertEqual(page.open_received(PASSWORD), [["plain", "長い貼り付けの最後の暗号文"]])
        # Typing in the box makes its own text count again.
        page.fill("received", "前置き")
        self.assertTrue(page.js("return document.getElementById('received-long-note').hidden"))
        self.assertEqual(page.open_received(PASSWORD), [["message", "暗号文が見つかりません。(quiren_start) から (quiren_end) までを貼り付けて下さい。"]])
        self.assert_nothing_sent(page)

    def test_5_save_makes_a_download_of_the_whole_text(self):
        page = self.new_page()
        text = "保存する本文\r\n二行目 😀"
        with tempfile.TemporaryDirectory() as folder:
            page.download_to(folder)
            self.assertEqual(page.open_text(tool("encrypt", text=text), PASSWORD), [["plain", text]])
            page.driver.find_element("css selector", "#results .result .save").click()
            saved = pathlib.Path(folder) / "復号した文章-1.txt"
            self.assertTrue(self.wait_for_file(saved), list(pathlib.Path(folder).iterdir()))
            self.assertEqual(saved.read_bytes(), text.encode("utf-8"))
            block = page.seal_text(text, PASSWORD)
            page.driver.find_element("css selector", "#seal-result .save").click()
            saved_block = pathlib.Path(folder) / "暗号文.txt"
            self.assertTrue(self.wait_for_file(saved_block))
            self.assertEqual(saved_block.read_bytes(), block.encode("utf-8"))
            self.assertEqual(tool("decrypt", text=saved_block.read_bytes().decode("utf-8")), text)
        self.assert_nothing_sent(page)

    @staticmethod
    def wait_for_file(path, seconds=20):
        began = time.monotonic()
        while time.monotonic() - began < seconds:
            # Chromium writes a .crdownload first and renames it when done.
            if path.exists():
                return True
            time.sleep(0.1)
        return False

    def test_6_clear_empties_every_text_password_and_result(self):
        page = self.new_page()
        self.assertEqual(page.open_text(tool("encrypt", text="秘密の本文"), PASSWORD), [["plain", "秘密の本文"]])
        page.fill("password", "typed again")
        page.click("show-password")
        block = page.seal_text("送る本文", PASSWORD)
        self.assertIsInstance(block, str)
        # Keys in every field that takes one, a key made, a key checked.
        key_block, _, sealed_secret = page.make_key("消える鍵", KEY_PASSPHRASE)
        page.fill("key-name", "次の名前")
        page.fill("key-pass", "次の合言葉")
        page.click("show-key-pass")
        page.fill("key-check", key_block)
        page.fill("my-key", sealed_secret)
        page.fill("my-key-pass", "違う")
        page.open_received("")
        page.fill("seal-to", key_block)
        page.fill("seal-my-key", sealed_secret)
        page.fill("seal-my-key-pass", KEY_PASSPHRASE)
        page.wait_for("!document.getElementById('seal-to-digits').hidden && "
                      "!document.getElementById('key-check-digits').hidden")
        page.tab("seal")
        page.fill("compose", "次の本文")
        page.fill("compose", "")
        page.click("seal")
        page.wait_for("!document.getElementById('empty-question').hidden")
        page.click("clear-page")
        state = page.js("""const $ = (id) => document.getElementById(id);
            return {
              fields: [...document.querySelectorAll('textarea, input[type=password], input[type=text]')]
                .filter((f) => f.value !== '' || f.textContent !== '').map((f) => f.id),
              results: $('results').children.length,
              shown: ['seal-result', 'empty-question', 'clipboard-history', 'open-message', 'seal-message',
                      'my-key-message', 'key-message', 'my-key-result', 'key-check-digits', 'seal-to-digits',
                      'seal-sender', 'seal-password-note'].filter((id) => !$(id).hidden),
              digits: $('my-digits').textContent,
              masked: [$('password').type, $('seal-password').type, $('seal-confirm').type, $('seal-confirm').disabled,
                       $('key-pass').type, $('key-pass-confirm').type, $('key-pass-confirm').disabled],
              usable: ['seal', 'seal-password', 'generate-passphrase', 'make-key'].filter((id) => $(id).disabled),
            };""")
        self.assertEqual(state, {"fields": [], "results": 0, "shown": [], "digits": "",
                                 "masked": ["password"] * 3 + [False] + ["password"] * 2 + [False], "usable": []})
        page.screenshot(screens() / "cleared-ja.png", 1000)
        self.assert_nothing_sent(page)

    def test_7_an_empty_text_is_sealed_only_when_the_user_says_so(self):
        for language in ("ja", "en-US"):
            with self.subTest(language):
                page = self.new_page(language)
                page.tab("seal")
                page.fill("compose", "")
                page.fill("seal-password", PASSWORD)
                page.fill("seal-confirm", PASSWORD)
                page.click("seal")
                page.wait_for("!document.getElementById('empty-question').hidden")
                self.assertEqual(self.active(page), "empty-stop", "Stop is the default")
                self.assertTrue(page.js("return document.getElementById('seal').disabled"))
                page.screenshot(screens() / f"empty-question-{page.js('return document.documentElement.lang')}.png",
                                1000)
                page.click("empty-stop")
                self.assertEqual(page.js("""const $ = (id) => document.getElementById(id);
                    return [$('empty-question').hidden, $('seal-result').hidden, $('seal').disabled,
                            document.activeElement.id];"""), [True, True, False, "compose"])
                block = page.seal_text("", PASSWORD)
                self.assertIsInstance(block, str, block)
                self.assertEqual(tool("decrypt", text=block), "")
                self.assert_nothing_sent(page)

    def test_8_when_the_browser_refuses_the_clipboard_the_page_says_ctrl_c(self):
        hints = {"ja": "Ctrl+C でコピーしてください", "en": "Press Ctrl+C to copy"}
        for language, lang in (("ja", "ja"), ("en-US", "en")):
            for width in (1000, 390):
                with self.subTest(language=language, width=width):
                    page = self.new_page(language, width)
                    text = "コピーできない本文\r\n二行目"
                    self.assertEqual(page.open_text(tool("encrypt", text=text), PASSWORD), [["plain", text]])
                    self.assertFalse(page.js("return document.getElementById('clipboard-history').hidden"))
                    page.js(REFUSE_CLIPBOARD)
                    page.driver.find_element("css selector", "#results .copy").click()
                    page.wait_for("!document.querySelector('#results .hint').hidden")
                    state = page.js("""const box = document.querySelector('#results .plain');
                        return [document.querySelector('#results .hint').textContent,
                                document.activeElement === box, box.selectionStart, box.selectionEnd,
                                box.value.length];""")
                    self.assertEqual(state[:4], [hints[lang], True, 0, state[4]])
                    if width == 390:
                        page.screenshot(screens() / f"copy-refused-{lang}-phone.png", width, mobile=True)
                    self.assert_nothing_sent(page)

    def test_9_phone_fields_buttons_and_borders(self):
        page = self.new_page("ja", 390, 800)
        page.seal_text("来週の資料です。" * 20, PASSWORD, width=100)
        self.assertEqual(page.open_text(tool("encrypt", text="本文"), PASSWORD), [["plain", "本文"]])
        key_block, _, _ = page.make_key("山田 花子", KEY_PASSPHRASE)
        page.fill("key-check", key_block)
        page.fill("seal-to", key_block)
        for tab in ("open", "seal", "keys"):
            page.tab(tab)
            measured = page.js("""
                const visible = (e) => e.getClientRects().length > 0;
                const px = (v) => parseFloat(v);
                const fields = [...document.querySelectorAll('textarea, input[type=password], input[type=text], input[type=number]')]
                  .filter(visible).map((e) => [e.id || e.className, px(getComputedStyle(e).fontSize), getComputedStyle(e).borderTopColor]);
                const buttons = [...document.querySelectorAll('button')].filter(visible)
                  .map((b) => [b.id || b.className, b.getBoundingClientRect().height]);
                return { fields, buttons, overflow: document.documentElement.scrollWidth > window.innerWidth };""")
            self.assertEqual([f for f in measured["fields"] if f[1] < 16], [], tab)
            self.assertEqual([b for b in measured["buttons"] if b[1] < 44], [], tab)
            self.assertFalse(measured["overflow"], "nothing wider than the phone")
            for name, _, colour in measured["fields"]:
                self.assertGreaterEqual(contrast(colour, "rgb(255, 255, 255)"), 3.0, name)
        self.assert_nothing_sent(page)


def run_tool(*args, text="", check=True):
    """The tool's (exit status, standard output, standard error)."""
    done = subprocess.run([TOOL, *args], input=text.encode("utf-8"), capture_output=True, check=False)
    if check and done.returncode != 0:
        raise AssertionError(f"quiren {' '.join(args)}: {done.stderr.decode('utf-8', 'replace')}")
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def sender_digits(stderr):
    """The safety digits the tool names as a block's sender."""
    found = re.findall(r"from (\d{5}(?: \d{5}){5}), written", stderr)
    if len(found) != 1:
        raise AssertionError(f"no one sender in {stderr!r}")
    return found[0]


class KeysWithTheTool(unittest.TestCase):
    """Keys made, read and used both ways between the page and the tool."""

    def setUp(self):
        self.work = pathlib.Path(tempfile.mkdtemp())
        self.addCleanup(lambda: subprocess.run(["rm", "-rf", str(self.work)], check=False))
        self.page = ReaderPage(PAGE, "ja")
        self.page.requested_urls()
        self.addCleanup(self.page.close)

    def file(self, name, text):
        path = self.work / name
        path.write_text(text, encoding="utf-8", newline="")
        return str(path)

    def tool_key(self, name):
        """A key the tool makes, sealed under a passphrase: (key file, key
        block file, digits)."""
        secret = str(self.work / f"{name}.key")
        passphrase = self.file(f"{name}.pass", "tool passphrase\n")
        _, block, err = run_tool("key", "new", "--name", name, "--out", secret, "--password-file", passphrase)
        digits = re.search(r"your safety digits: ([\d ]+)", err)[1]
        return secret, passphrase, self.file(f"{name}.kb", block), digits

    def assert_nothing_sent(self):
        urls = self.page.requested_urls()
        self.assertEqual([u for u in urls if not u.startswith(("file:", "blob:"))], [], urls)
        self.assertEqual(self.page.console_problems(), [])

    def test_1_a_key_made_in_the_page_is_the_tools_key_too(self):
        page = self.page
        key_block, digits, sealed_secret = page.make_key("山田 花子", KEY_PASSPHRASE)
        self.assertRegex(digits, r"^\d{5}( \d{5}){5}$")
        self.assertEqual(page.js("return document.activeElement.id"), "save-my-secret", "saving the key comes first")
        # The tool reads the key block as received, with the same name and digits.
        self.assertEqual(run_tool("key", "digits", text=quoted(key_block))[1], f"山田 花子: {digits}\n")

        # The secret key saved as a file opens in the tool under the
        # passphrase, and is the key of the page's key block.
        page.download_to(self.work)
        page.click("save-my-secret")
        saved = self.work / "秘密鍵.txt"
        self.assertTrue(WhatRecipientsAskedFor.wait_for_file(saved), list(self.work.iterdir()))
        self.assertEqual(saved.read_bytes().decode("utf-8"), sealed_secret)
        passphrase = self.file("page.pass", KEY_PASSPHRASE + "\n")
        _, shown, err = run_tool("key", "show", "--key", str(saved), "--key-passphrase-file", passphrase,
                                 "--name", "山田 花子")
        self.assertEqual(shown, key_block)
        self.assertIn(digits, err)
        wrong = self.file("wrong.pass", "違う\n")
        self.assertNotEqual(run_tool("key", "show", "--key", str(saved), "--key-passphrase-file", wrong,
                                     check=False)[0], 0)

        # The tool writes to that key; the page opens it with the saved key,
        # naming the tool's key as the sender.
        tool_secret, tool_pass, _, tool_digits = self.tool_key("Tool User")
        page_block = self.file("page.kb", key_block)
        _, block, _ = run_tool("encrypt", "--key", tool_secret, "--key-passphrase-file", tool_pass, "--to", page_block,
                               text="ツールから山田さんへ\r\n明日の件です。")
        shown = page.open_with_key(quoted(block), saved.read_bytes().decode("utf-8"), KEY_PASSPHRASE)
        self.assertEqual(shown[0], ["plain", "ツールから山田さんへ\r\n明日の件です。"])
        self.assertEqual(shown[1][0], "sender")
        self.assertIn(tool_digits, shown[1][1])
        self.assertNotIn("あなた自身", shown[1][1])
        self.assertEqual(len(shown), 2)
        self.assertEqual(page.js("return document.getElementById('my-key-pass').value"), "", "its work done")

        # A wrong passphrase takes no key: the block needs one, the page says why.
        self.assertEqual(page.open_with_key(block, sealed_secret, "違う"),
                         [["key", WRONG_KEY_PASSPHRASE], ["failed", NEEDS_KEY]])
        # The tool's own key (a bare one too) opens what it wrote: the sender is the reader.
        bare = str(self.work / "bare.key")
        _, bare_block, _ = run_tool("key", "new", "--out", bare, "--no-passphrase")
        _, to_self, _ = run_tool("encrypt", "--key", bare, "--to", self.file("bare.kb", bare_block), text="自分宛て")
        shown = page.open_with_key(to_self, pathlib.Path(bare).read_text(encoding="utf-8"))
        self.assertEqual(shown[0], ["plain", "自分宛て"])
        self.assertIn("あなた自身の鍵", shown[1][1])
        self.assert_nothing_sent()

    def test_2_the_page_seals_to_a_tool_key_from_its_users_key_or_a_one_off_key(self):
        page = self.page
        tool_secret, tool_pass, tool_block, tool_digits = self.tool_key("取引先 太郎")
        other_secret, other_pass, other_block, other_digits = self.tool_key("Other")
        key_block, digits, sealed_secret = page.make_key("山田 花子", KEY_PASSPHRASE)
        to = "鍵を送ります。\r\n" + quoted(pathlib.Path(tool_block).read_bytes().decode("utf-8")) + "\r\n" + \
            pathlib.Path(other_block).read_bytes().decode("utf-8")
        text = "見積書の金額は税込 1,280,000 円です。\r\n納期は 3 月 15 日です。"
        decrypt = ("decrypt", "--key", tool_secret, "--key-passphrase-file", tool_pass)

        block = page.seal_to_keys(text, to, sealed_secret, KEY_PASSPHRASE)
        self.assertIsInstance(block, str, block)
        self.assertEqual(page.key_list("seal-to-digits")[1:],
                         [f"取引先 太郎: {tool_digits}", f"Other: {other_digits}"])
        self.assertEqual(block.split("\r\n")[1][0], "D")
        _, opened, err = run_tool(*decrypt, text=block)
        self.assertEqual((opened, sender_digits(err)), (text, digits), "from the page user's key")
        _, opened, _ = run_tool("decrypt", "--key", other_secret, "--key-passphrase-file", other_pass, text=block)
        self.assertEqual(opened, text)
        # The page user reads what they sent.
        self.assertEqual(page.open_with_key(block, sealed_secret, KEY_PASSPHRASE)[0], ["plain", text])
        self.assertTrue(page.js("return !document.getElementById('seal-password-note').hidden && "
                                "document.getElementById('seal-password').disabled"), "passwords not used")

        # Without the user's key: a one-off key, a sender nobody knows, as
        # the page says.
        self.assertTrue(page.js("return document.getElementById('one-off-sender').hidden"))
        block = page.seal_to_keys(text, to)
        self.assertFalse(page.js("return document.getElementById('one-off-sender').hidden"))
        _, opened, err = run_tool(*decrypt, text=block)
        self.assertEqual(opened, text)
        self.assertNotIn(sender_digits(err), (digits, tool_digits, other_digits))
        # In view, selected, Copy focused, as a password block.
        state = page.js("""const box = document.getElementById('sealed');
            const r = box.getBoundingClientRect();
            return [r.top >= 0 && r.bottom <= window.innerHeight, box.selectionStart, box.selectionEnd === box.value.length,
                    document.activeElement.id];""")
        self.assertEqual(state, [True, 0, True, "copy-sealed"])

        # A sender key with a wrong passphrase seals nothing; a damaged key block neither.
        self.assertEqual(page.seal_to_keys(text, to, sealed_secret, "違う")[0], "message")
        damaged = changed(pathlib.Path(tool_block).read_bytes().decode("utf-8"), 5)
        refused = page.seal_to_keys(text, damaged)
        self.assertEqual(refused, ["message", "宛先の鍵ブロックを読めないため、暗号化しませんでした。"])
        self.assertEqual(page.key_list("seal-to-digits")[0], "鍵ブロックが壊れているため読めません。")
        self.assert_nothing_sent()

    def test_3_a_block_for_another_key_and_a_changed_character_show_no_text(self):
        page = self.page
        tool_secret, tool_pass, _, _ = self.tool_key("Writer")
        key_block, _, sealed_secret = page.make_key("山田 花子", KEY_PASSPHRASE)
        _, _, someone_block, _ = self.tool_key("Someone else")
        sealed = ("encrypt", "--key", tool_secret, "--key-passphrase-file", tool_pass)
        _, elsewhere, _ = run_tool(*sealed, "--to", someone_block, text="ほかの人宛て")
        self.assertEqual(page.open_with_key(elsewhere, sealed_secret, KEY_PASSPHRASE), [["failed", NOT_FOR_THIS_KEY]])
        _, mine, _ = run_tool(*sealed, "--to", self.file("page.kb", key_block), text="見せてはいけない本文")
        length = len("".join(mine.split("\r\n")[1:-1]))
        # In the header (the time, the sender's key, the one-off key) and in
        # the nonce, the text and its tag; not in the slots, where a change
        # fails only its own recipient's.
        for index in (8, 20, 70, length - 30, length - 2):
            with self.subTest(f"body character {index}"):
                shown = page.open_with_key(changed(mine, index), sealed_secret, KEY_PASSPHRASE)
                self.assertEqual([kind for kind, _ in shown if kind != "where"], ["failed"], shown)
                self.assertNotIn("見せて", repr(shown))
        self.assertEqual(page.open_with_key(mine, sealed_secret, KEY_PASSPHRASE)[0], ["plain", "見せてはいけない本文"])
        self.assert_nothing_sent()


def contrast(a, b):
    """The contrast ratio of two CSS rgb() colours (WCAG 2)."""
    def luminance(colour):
        channels = [int(c) / 255 for c in colour[colour.index("(") + 1:colour.index(")")].split(",")[:3]]
        linear = [c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4 for c in channels]
        return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]
    high, low = sorted((luminance(a), luminance(b)), reverse=True)
    return (high + 0.05) / (low + 0.05)


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

    def test_3_a_20_mb_text_opens_shown_in_part_and_copies_whole(self):
        line = "議事録：第3四半期の売上は前年比12％増。来期の計画は別紙のとおり。\r\n"
        text = line * ((20 << 20) // len(line.encode("utf-8")))
        page = ReaderPage(PAGE, "ja")
        try:
            with tempfile.TemporaryDirectory() as folder:
                path = pathlib.Path(folder) / "large.txt"
                path.write_text(tool("encrypt", text=text), encoding="utf-8", newline="")
                page.requested_urls()
                # The block (28 MB) is held by the page; its box shows the beginning.
                page.choose_file(path)
                page.wait_for("!document.getElementById('received-long-note').hidden")
                self.assertLess(page.js("return document.getElementById('received').value.length"), 100001)
                page.js(RECORD_CLIPBOARD)
                self.assertEqual(page.open_received(PASSWORD)[0][0], "plain")
                shown = page.js("""const box = document.querySelector('#results .plain');
                    return [box.textContent.length, box.textContent === arguments[0].slice(0, box.textContent.length),
                            document.querySelectorAll('#results .long-text').length];""", text[:200000])
                self.assertLessEqual(shown[0], 100000)
                self.assertEqual(shown[1:], [True, 1], "the beginning, and a note that says so")
                page.driver.find_element("css selector", "#results .copy").click()
                page.wait_for("window.copied.length === 1")
                self.assertEqual(page.js("""const copied = window.copied[0];
                    return [copied.length, copied.slice(-100)];"""), [len(text), text[-100:]])
                page.screenshot(screens() / "large-text-ja.png", 1000)
                urls = page.requested_urls()
                self.assertEqual([u for u in urls if not u.startswith(("file:", "blob:"))], [], urls)
        finally:
            page.close()


if __name__ == "__main__":
    PAGE, TOOL, OUT = sys.argv[1:4]
    del sys.argv[1:4]
    unittest.main(verbosity=2)
