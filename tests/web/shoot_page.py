#!/usr/bin/python3
"""The user guides' pictures of the reader page: each tab, in Japanese and
in English, at desktop and at phone width, as the guides show them; and,
at desktop width, the open and seal tabs used with keys.
    shoot_page.py PAGE OUT_DIR
      -> OUT_DIR/reader-{open,seal,keys}-{ja,en}.png, reader-{open,seal,keys}-{ja,en}-phone.png,
         reader-open-key-{ja,en}.png, reader-seal-keys-{ja,en}.png
The open tab shows a received mail opened under its password; the seal tab
the block it wrote; the keys tab a key made and a partner's key checked;
then a partner's block opened with the user's key, and a block sealed to
the partner's key. The blocks and keys are made by the page itself, so
nothing else is needed.
"""
import pathlib
import sys

from page_driver import ReaderPage

MAILS = {
    "ja": ("山田様\n\nお世話になっております。見積書の金額をお送りします。\n\n{block}\n\nパスワードは別途お電話でお伝えします。",
           "見積書の金額は税込 1,280,000 円です。\n納期は 3 月 15 日を予定しています。"),
    "en": ("Dear Ms Smith,\n\nHere are the figures we discussed.\n\n{block}\n\nI will tell you the password by phone.",
           "The quotation comes to 1,280,000 yen including tax.\nDelivery is planned for 15 March."),
}
# With keys: the user's name, the partner's, the partner's mail with their
# key block, the partner's mail with a block for the user, the user's reply.
KEYS = {
    "ja": ("山田 花子", "鈴木 健（取引先）", "山田様\n\n私の鍵ブロックをお送りします。\n\n{block}\n",
           "山田様\n\n次回の打ち合わせの件です。\n\n{block}\n",
           "4 月 10 日の打ち合わせは 14 時から第 2 会議室で行います。", "承知しました。当日は資料を持参します。"),
    "en": ("Hanako Yamada", "Ken Suzuki (partner)", "Dear Ms Yamada,\n\nHere is my key block.\n\n{block}\n",
           "Dear Ms Yamada,\n\nAbout our next meeting.\n\n{block}\n",
           "The meeting on 10 April starts at 14:00 in room 2.", "Thank you: I will bring the documents."),
}
PASSWORD = "password-for-the-guide"
PASSPHRASE = "passphrase-for-the-guide"
WIDTHS = {"": 760, "-phone": 390}


def quoted(block):
    return "\n".join("> " + line for line in block.split("\r\n"))


def expect(shown, wanted, what):
    if shown != wanted:
        sys.exit(f"shoot_page: {what}: the page showed {shown!r}")


def shoot(page_path, out, lang):
    mail, text = MAILS[lang]
    mine, partner, key_mail, partner_mail, partner_text, reply = KEYS[lang]
    shots = []
    for suffix, width in WIDTHS.items():
        page = ReaderPage(page_path, lang)
        try:
            def picture(tab, name):
                page.tab(tab)
                path = out / f"reader-{name}-{lang}{suffix}.png"
                page.screenshot(path, width, mobile=bool(suffix))
                shots.append(path)

            block = page.seal_text(text, PASSWORD)
            shown = page.open_text(mail.format(block=quoted(block)), PASSWORD)
            expect(shown, [["plain", text.replace("\n", "\r\n")]], "a password block")
            picture("open", "open")
            picture("seal", "seal")

            partner_block, _, partner_secret = page.make_key(partner, PASSPHRASE)
            my_block, _, my_secret = page.make_key(mine, PASSPHRASE)
            page.fill("key-check", key_mail.format(block=quoted(partner_block)))
            page.wait_for("!document.getElementById('key-check-digits').hidden")
            picture("keys", "keys")
            if suffix:
                continue

            to_me = page.seal_to_keys(partner_text, my_block, partner_secret, PASSPHRASE)
            shown = page.open_with_key(partner_mail.format(block=quoted(to_me)), my_secret, PASSPHRASE)
            expect([kind for kind, _ in shown], ["plain", "sender"], "a block for the user's key")
            picture("open", "open-key")
            sealed = page.seal_to_keys(reply, key_mail.format(block=quoted(partner_block)), my_secret, PASSPHRASE)
            if not isinstance(sealed, str):
                sys.exit(f"shoot_page: the page did not seal to the partner's key: {sealed!r}")
            picture("seal", "seal-keys")
        finally:
            page.close()
    return shots


def main():
    page_path, out = sys.argv[1:3]
    out = pathlib.Path(out)
    out.mkdir(parents=True, exist_ok=True)
    for lang in MAILS:
        for path in shoot(page_path, out, lang):
            print(f"screenshots: {path}")


if __name__ == "__main__":
    main()
