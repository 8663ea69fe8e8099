"""An independent implementation of the armoured block, in bytes.

Writing: the block for two library encrypt results and a wrap width.
Reading: every block of a text, with the tray program's reading rules.
The cipher itself comes from quiren_ref (encrypt / decrypt) when present.
"""

START = b"(quiren_start)"
END = b"(quiren_end)"
CRLF = b"\r\n"
JOINT = b"\r\n\r\n" + b"*--" * 14 + b"*" + b"\r\n\r\n"


def frame(mode: bytes, payload: bytes, width: int) -> bytes:
    """The block of `payload` under its mode letter, wrapped at `width`."""
    width = min(max(width, 10), 100)
    lines = [mode + payload[: width - 1]]
    rest = payload[width - 1:]
    while rest:
        lines.append(rest[:width])
        rest = rest[width:]
    return START + CRLF + CRLF.join(lines) + CRLF + END


def write_block(check_result: bytes, text_result: bytes, width: int) -> bytes:
    check_field, check_mode = check_result[:-1], check_result[-1:]
    text_field, text_mode = text_result[:-1], text_result[-1:]
    return frame(check_mode, check_field + b">" + text_mode + text_field, width)


def _joined_lines(region: bytes) -> bytes:
    parts = region.split(CRLF)
    # The first part is the marker line; the last is not ended by CR LF.
    return b"".join(parts[1:-1])


def read_blocks(text: bytes):
    """A list of (check_mode, check_field, text_mode, text_field) tuples,
    ending with the string "mode" or "separator" for an unreadable block."""
    start = text.find(START)
    if start < 0 or text.find(END, start) < 0:
        return []
    text = text.replace(b" ", b"")
    start = text.find(START)
    items = []
    while True:
        at = start + len(START) + 2
        mode = text[at:at + 1]
        if mode not in (b"A", b"B"):
            items.append("mode")
            return items
        text = text[:at] + text[at + 1:]
        end = text.find(END, start)
        payload = _joined_lines(text[start:end])
        if b">" not in payload:
            items.append("separator")
            return items
        check, rest = payload.split(b">", 1)
        items.append((mode, check, rest[:1], rest[1:]))
        after = end + len(END)
        next_end = text.find(END, after)
        next_start = text.find(START, after)
        if next_end < 0 or next_start < 0 or next_start > next_end:
            return items


def fill(data: bytes) -> bytes:
    if len(data) % 4 == 0:
        return data
    letter = b"X" if data.endswith(b"x") else b"x"
    return data + letter * (4 - len(data) % 4)


def encrypt_block(text: bytes, password: bytes, width: int) -> bytes:
    import quiren_ref
    return write_block(quiren_ref.encrypt(password, password), quiren_ref.encrypt(text, password), width)
