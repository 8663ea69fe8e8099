#!/usr/bin/python3
"""Seals a text with the reader page in headless Chromium, as a user does:
    seal_with_page.py PAGE TEXT_FILE PASSWORD_FILE BLOCK_FILE
TEXT_FILE is UTF-8; the password is PASSWORD_FILE's first line. The block
the page wrote goes to BLOCK_FILE (UTF-8, CR LF line breaks).
"""
import pathlib
import sys

from page_driver import ReaderPage


def main():
    page_path, text_file, password_file, block_file = sys.argv[1:5]
    text = pathlib.Path(text_file).read_text(encoding="utf-8")
    password = pathlib.Path(password_file).read_text(encoding="utf-8").splitlines()[0]
    page = ReaderPage(page_path)
    try:
        block = page.seal_text(text, password)
    finally:
        page.close()
    if not isinstance(block, str):
        sys.exit(f"seal_with_page: the page refused: {block}")
    pathlib.Path(block_file).write_bytes(block.encode("utf-8"))


if __name__ == "__main__":
    main()
