#!/usr/bin/env python3
"""block/word_lists.py, the build step that reads the passphrase word lists
from Debian's packages: a file that is not the one it names stops the build
with a message naming the file and its package; a copy of the right file
elsewhere serves as well."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "block" / "word_lists.py"
sys.path.insert(0, str(SCRIPT.parent))
import word_lists  # noqa: E402


def build_step(out_dir, *args):
    return subprocess.run([sys.executable, str(SCRIPT), "cpp", str(pathlib.Path(out_dir) / "word_lists.cpp"), *args],
                          capture_output=True, text=True, check=False)


class WordListsCheck(unittest.TestCase):
    def test_a_changed_or_missing_file_stops_the_build_naming_file_and_package(self):
        for source in word_lists.SOURCES:
            original = pathlib.Path(source.path).read_bytes()
            with tempfile.TemporaryDirectory() as tmp:
                cases = {
                    "one word changed": original.replace(original.split(b"\n")[5], original.split(b"\n")[5] + b"x"),
                    "a word left out": b"\n".join(original.split(b"\n")[1:]),
                    "line ends changed": original.replace(b"\n", b"\r\n"),
                }
                for what, data in cases.items():
                    with self.subTest(source.kind, case=what):
                        bad = pathlib.Path(tmp) / f"bad-{source.kind}.txt"
                        bad.write_bytes(data)
                        done = build_step(tmp, f"--{source.kind}", str(bad))
                        self.assertNotEqual(done.returncode, 0)
                        self.assertIn(str(bad), done.stderr)
                        self.assertIn(f"Debian package {source.package}", done.stderr)
                        self.assertIn(source.sha256, done.stderr)
                        self.assertFalse((pathlib.Path(tmp) / "word_lists.cpp").exists())
                with self.subTest(source.kind, case="missing"):
                    done = build_step(tmp, f"--{source.kind}", str(pathlib.Path(tmp) / "none.txt"))
                    self.assertNotEqual(done.returncode, 0)
                    self.assertIn(f"Debian package {source.package}", done.stderr)

    def test_a_copy_of_the_right_file_serves_and_gives_the_same_source(self):
        with tempfile.TemporaryDirectory() as tmp:
            copies = []
            for source in word_lists.SOURCES:
                copy = pathlib.Path(tmp) / f"copy-{source.kind}.txt"
                copy.write_bytes(pathlib.Path(source.path).read_bytes())
                copies += [f"--{source.kind}", str(copy)]
            self.assertEqual(build_step(tmp, *copies).returncode, 0)
            from_copies = (pathlib.Path(tmp) / "word_lists.cpp").read_text(encoding="utf-8")
            self.assertEqual(build_step(tmp).returncode, 0)
            self.assertEqual((pathlib.Path(tmp) / "word_lists.cpp").read_text(encoding="utf-8"), from_copies)

    def test_the_lists_and_their_rules(self):
        lists = word_lists.load_all()
        latin, kana = lists["latin"], lists["kana"]
        self.assertEqual((len(latin[1]), latin[0].per_passphrase, latin[0].separator), (7776, 6, "-"))
        self.assertEqual((len(kana[1]), kana[0].per_passphrase, kana[0].separator), (2048, 7, "\u3000"))
        self.assertEqual((latin[1][0], latin[1][-1]), ("abacus", "zoom"))
        self.assertEqual((kana[1][0], kana[1][3]), ("あいこくしん", "あおぞら"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
