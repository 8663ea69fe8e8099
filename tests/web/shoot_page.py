#!/usr/bin/python3
"""The user guides' pictures of the reader page: each tab, in Japanese and
in English, at desktop and at phone width, as the guides show them.
    shoot_page.py PAGE OUT_DIR
      -> OUT_DIR/reader-{open,seal}-{ja,en}.png, reader-{open,seal}-{ja,en}-phone.png
The open tab shows a received mail opened; the seal tab the block it
wrote. The blocks are written by the page itself, so nothing else is
needed.
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
PASSWORD = "password-for-the-guide"
WIDTHS = {"": 760, "-phone": 390}


def shoot(page_path, out, lang):
    mail, text = MAILS[lang]
    shots = []
    for suffix, width in WIDTHS.items():
        page = ReaderPage(page_path, lang)
        try:
            block = page.seal_text(text, PASSWORD)
            mail_text = mail.format(block="\n".join("> " + line for line in block.split("\r\n")))
            shown = page.open_text(mail_text, PASSWORD)
            if shown != [["plain", text.replace("\n", "\r\n")]]:
                sys.exit(f"shoot_page: the page showed {shown!r}")
            for tab in ("open", "seal"):
                page.tab(tab)
                path = out / f"reader-{tab}-{lang}{suffix}.png"
                page.screenshot(path, width, mobile=bool(suffix))
                shots.append(path)
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
