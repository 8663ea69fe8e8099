#!/usr/bin/env python3
"""Compares libquiren with the Python reference on random texts/passwords.

usage: differential_test.py <path to libquiren.so> [cases per table setting]
Runs in a temporary current directory, first without a DfFugoList.lst and
then with a small one, so both block kinds are exercised.
"""
import ctypes
import os
import random
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "reference"))
import quiren_ref as ref  # noqa: E402


def load(path):
    lib = ctypes.CDLL(os.path.abspath(path))
    lib.wakaranakusuru.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    lib.wakaranakusuru.restype = ctypes.c_void_p
    lib.wakaruyounisuru.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p]
    lib.wakaruyounisuru.restype = ctypes.c_void_p
    lib.quiren_release.argtypes = [ctypes.c_void_p]
    lib.quiren_release.restype = None

    def take(ptr):
        assert ptr, "library returned null"
        try:
            return ctypes.string_at(ptr)
        finally:
            lib.quiren_release(ptr)

    return (lambda t, p: take(lib.wakaranakusuru(t, p)),
            lambda b, p, m: take(lib.wakaruyounisuru(b, p, m)))


SHARED = [  # (pattern, code as written, highest bit first)
    (b"a", "0000"), (b"b", "0001"), (b"c", "0010"), (b"d", "0011"),
    (b"e", "0100"), (b"\x82", "0101"), (b"\xa0", "0110"), (b"x", "0111"),
    (b"ab", "10"), (b"\x82\xa0", "110"), (b"the ", "1110"), (b" ", "1111"),
]


def shared_table():
    return [(int.from_bytes(p, "little"), 8 * len(p), int(c, 2), len(c)) for p, c in SHARED]


def random_text(rng, kind):
    n = rng.choice([0, 1, 2, 3, 4, 5, 7, 8, rng.randint(1, 40), rng.randint(40, 240)])
    if kind in (1, 2) and rng.random() < 0.6:
        n = rng.randint(30, 300)
    if kind == 0:  # any byte but NUL: rarely compresses
        return bytes(rng.randint(1, 255) for _ in range(n))
    if kind == 1:  # few symbols, skewed: compresses
        syms = [rng.randint(1, 255) for _ in range(rng.randint(1, 12))]
        return bytes(syms[min(int(rng.expovariate(0.6)), len(syms) - 1)] for _ in range(n))
    if kind == 2:  # phrases of the shared table, double-byte pairs among them
        # Phrases the table encodes losslessly: "b" and "\xa0" alone are
        # hidden by the longer phrases ending in them, and " " (inserted
        # last) hides "the ".
        words = [p for p, _ in SHARED if p not in (b"b", b"\xa0", b"the ")]
        if rng.random() < 0.3:
            words.append(b"the ")
        out = b""
        while len(out) < n:
            out += rng.choice(words)
        return out
    # kind 3: high bytes only (lead/trail bytes of double-byte text)
    return bytes(rng.choice([0x82, 0x83, 0x88, 0xA0, 0xA2, 0xC4, 0xFF, 0x80]) for _ in range(n))


def main():
    lib_path = sys.argv[1]
    cases = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    encrypt, decrypt = load(lib_path)
    rng = random.Random(20240601)
    failures = 0
    counts = {}
    with tempfile.TemporaryDirectory() as tmp:
        os.chdir(tmp)
        for with_table in (False, True):
            if with_table:
                with open(ref.SHARED_TABLE, "wb") as f:
                    f.write(ref.serialize_table(shared_table()))
            for i in range(cases):
                text = random_text(rng, i % 4)
                password = bytes(rng.randint(1, 255) for _ in range(i % 31))
                expected = ref.encrypt(text, password)
                got = encrypt(text, password)
                key = (with_table, expected[-1:], expected[:4] and ref.decipher(ref.remove_armour(expected[:-1]), password)[:4] == b"DAEH")
                counts[key] = counts.get(key, 0) + 1
                if got != expected:
                    failures += 1
                    print(f"encrypt differs: text={text!r} password={password!r}\n lib={got!r}\n ref={expected!r}")
                    continue
                body, mode = expected[:-1], expected[-1:]
                wrong = bytes(rng.randint(1, 255) for _ in range(rng.randint(1, 8)))
                for b, p, m in ((body, password, mode), (body, wrong, b"B"), (body, password, b"a")):
                    want = ref.decrypt(b, p, m).split(b"\0")[0]
                    have = decrypt(b, p, m)
                    if want != have:
                        failures += 1
                        print(f"decrypt differs: body={b!r} password={p!r} mode={m!r}\n lib={have!r}\n ref={want!r}")
                if mode == b"B" and ref.decrypt(body, password, mode) != text:
                    failures += 1
                    print(f"round trip lost text: {text!r}")
        os.chdir("/")
    for (with_table, mode, tagged), n in sorted(counts.items()):
        kind = "self-contained" if tagged else "shared-table" if mode == b"B" else "plain"
        print(f"table file {'present' if with_table else 'absent '}: mode {mode.decode()} {kind:15} {n}")
    if not any(m == b"B" and not t for (w, m, t) in counts if w):
        print("no shared-table block was exercised")
        failures += 1
    print("differences:", failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
