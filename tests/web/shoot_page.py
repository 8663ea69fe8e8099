#!/usr/bin/python3
"""The user guides' pictures of the reader page: a received mail opened in
the page, once in Japanese and once in English, as the guides show it.
    shoot_page.py PAGE OUT_DIR   -> OUT_DIR/reader-ja.png, OUT_DIR/reader-en.png
The block is written by the page itself, so nothing else is needed.
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


def main():
    page_path, out = sys.argv[1:3]
    out = pathlib.Path(out)
    out.mkdir(parents=True, exist_ok=True)
    for lang, (mail, text) in MAILS.items():
        page = ReaderPage(page_path, lang)
        try:
            block = page.seal_text(text, "password-for-the-guide")
            mail_text = mail.format(block="\n".join("> " + line for line in block.split("\r\n")))
            shown = page.open_text(mail_text, "password-for-the-guide")
            if shown != [["plain", text.replace("\n", "\r\n")]]:
                sys.exit(f"shoot_page: the page showed {shown!r}")
            page.tab("open")
            page.screenshot(out / f"reader-{lang}.png", 760)
        finally:
            page.close()
        print(f"screenshots: {out / f'reader-{lang}.png'}")


if __name__ == "__main__":
    main()
