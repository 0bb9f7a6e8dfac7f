#!/usr/bin/env python3
"""End-to-end tests of the settings file under `statvane --batch`: exports
in the formats registry editors write survive a run with nothing changed but
"Index", lines the program cannot read are named and kept, and a file that
is no export at all is never written.

Usage: settings_file_test.py --statvane PATH [unittest arguments]
"""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)
import batch_test  # noqa: E402
from batch_test import ANALYSES, BatchTestCase, PRODUCT_KEY, dated, profile, read, write  # noqa: E402

VERSION5 = "Windows Registry Editor Version 5.00"


def export(header, settings_values, index="dword:00000000"):
    """An export of the program's keys, CR LF line ends, as text."""
    lines = [header, "", "; exported from the office machine", "[" + PRODUCT_KEY + "]",
             '"Index"=' + index, "", "[" + PRODUCT_KEY + "\\Settings]", *settings_values, ""]
    for name in ("Visitor", "Referrer", "TopPages"):
        lines += ["[" + PRODUCT_KEY + "\\" + name + "]", ""]
    return "".join(line + "\r\n" for line in lines)


SETTINGS = ['"Web Site"="http://www.example.com"', '"Server Address"="127.0.0.1"',
            '"Port"="3128"', '"User Name"="m\u00fcller"', '"Max Size"="s\u00e9cret \\"pw\\""',
            '"Default Browser"=dword:00000001']


class SettingsFileFormats(BatchTestCase):
    def setUp(self):
        log = self.sandbox.path("site.log")
        write(log, dated(b"10.1.1.1", b"GET /a HTTP/1.0") + b"\n" +
              dated(b"10.1.1.2", b"GET /b HTTP/1.0") + b"\n")
        self.output = self.sandbox.path("report.txt")
        self.sandbox.write_profiles([profile("Site", ANALYSES, [log], self.output)])

    def run_report(self):
        result = self.sandbox.run("--batch", "Site")
        self.assertEqual(result.returncode, 0, result.stderr)
        return result

    def test_exports_survive_a_run_with_only_index_changed(self):
        encodings = [("REGEDIT4", "REGEDIT4", "latin-1", b""),
                     ("version 5, UTF-16", VERSION5, "utf-16-le", b"\xff\xfe"),
                     ("version 5, UTF-8 with a mark", VERSION5, "utf-8", b"\xef\xbb\xbf"),
                     ("version 5, UTF-8", VERSION5, "utf-8", b"")]
        for name, header, codec, mark in encodings:
            with self.subTest(encoding=name):
                before = mark + export(header, SETTINGS).encode(codec)
                write(self.sandbox.settings, before)

                result = self.run_report()

                self.assertEqual(result.stderr, b"")
                expected = mark + export(header, SETTINGS, "dword:00000001").encode(codec)
                self.assertEqual(read(self.sandbox.settings), expected)
                self.assertIn(b"http://www.example.com/a", read(self.output))

    def test_unreadable_lines_are_named_and_kept(self):
        damaged = SETTINGS[1:] + ['"Web Site"="http://www.exam', "\x00\x01 not a value"]
        before = export("REGEDIT4", damaged).encode("latin-1")
        write(self.sandbox.settings, before)

        result = self.run_report()

        self.assertEqual(result.stderr.decode(),
                         f"Statvane: The settings file {self.sandbox.settings} has 2 lines that "
                         "Statvane cannot read, from line 13 on; they are kept as they stand.\n")
        self.assertEqual(read(self.sandbox.settings),
                         before.replace(b'"Index"=dword:00000000', b'"Index"=dword:00000001'))
        self.assertIn(b"Top Pages", read(self.output))

    def test_a_file_that_is_no_export_is_left_alone(self):
        before = b"\x00garbage that is no registry export\r\n" * 1000
        write(self.sandbox.settings, before)

        result = self.sandbox.run("--batch", "Site")

        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(),
                         f"Statvane: Cannot read the settings file {self.sandbox.settings}, line 1:"
                         ' it does not begin with "REGEDIT4" or "Windows Registry Editor Version'
                         ' 5.00"; it is left as it is.\n')
        self.assertEqual(read(self.sandbox.settings), before)
        self.assertFalse(os.path.exists(self.output))


if __name__ == "__main__":
    arguments = sys.argv[1:]
    if len(arguments) < 2 or arguments[0] != "--statvane":
        sys.exit(__doc__)
    batch_test.STATVANE = os.path.abspath(arguments[1])
    unittest.main(argv=[sys.argv[0], *arguments[2:]])
