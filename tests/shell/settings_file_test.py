#!/usr/bin/env python3
"""End-to-end tests of the settings file under `statvane --batch`: exports
in the formats registry editors write survive a run with nothing changed but
"Index", lines the program cannot read are named and kept, and a file that
is no export at all is never written.

Usage: settings_file_test.py --statvane PATH [unittest arguments]
"""
import os
import resource
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)
import test_program  # noqa: E402
import batch_test  # noqa: E402
from batch_test import (ANALYSES, NO_HANG_LIMIT, PRODUCT_KEY, BatchTestCase, dated,  # noqa: E402
                        profile, read, registry_text, write)

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



def limit_memory():
    """A run that reads a device without end fails within this limit. A
    sanitized build reserves far more address space than that and goes
    without; the time limit still bounds its run."""
    if os.environ.get("STATVANE_SANITIZED"):
        return
    limit = 1 << 30
    resource.setrlimit(resource.RLIMIT_AS, (limit, limit))


class FilesThatAreNotRegular(BatchTestCase):
    """A device or a FIFO in place of the settings file or a profile file is
    named at once: never read, waited on or written."""

    def setUp(self):
        self.log = self.sandbox.path("site.log")
        write(self.log, dated(b"10.1.1.1", b"GET /a HTTP/1.0") + b"\n")
        self.output = self.sandbox.path("report.txt")
        self.fifo = self.sandbox.path("fifo")
        if not os.path.exists(self.fifo):
            os.mkfifo(self.fifo)
        self.reset_files()

    def reset_files(self):
        """Regular profile and settings files, no links and no report."""
        for path in (self.output, *(self.sandbox.path("home", name)
                                    for name in ("reports.dat", "files.dat", "settings-link"))):
            if os.path.islink(path) or os.path.exists(path):
                os.remove(path)
        self.sandbox.write_profiles([profile("Site", ANALYSES, [self.log], self.output)])
        write(self.sandbox.settings, registry_text())

    def run_bounded(self, environment, *arguments):
        return self.sandbox.run(*arguments, environment=environment, timeout=NO_HANG_LIMIT,
                                preexec_fn=limit_memory)

    def replace_file(self, odd_file, odd):
        """The environment of a run with the settings file (STATVANE_SETTINGS)
        or the profile file named odd_file replaced by odd, and the path that
        stands for it: a profile file becomes a link to odd."""
        if odd_file == "STATVANE_SETTINGS":
            return self.sandbox.environment(STATVANE_SETTINGS=odd), odd
        path = os.path.join(self.sandbox.home, odd_file)
        os.remove(path)
        os.symlink(odd, path)
        return self.sandbox.environment(), path

    def test_a_device_or_fifo_ends_the_batch_run_and_list_with_its_name(self):
        for odd_file in ("STATVANE_SETTINGS", "reports.dat", "files.dat"):
            for odd in ("/dev/zero", self.fifo):
                with self.subTest(file=odd_file, odd=odd):
                    self.reset_files()
                    environment, named = self.replace_file(odd_file, odd)
                    message = f"Statvane: {named} is not a regular file.\n"

                    batch = self.run_bounded(environment, "--batch", "Site")
                    listed = self.run_bounded(environment, "--list")

                    self.assertEqual((batch.returncode, batch.stdout, batch.stderr.decode()),
                                     (1, b"", message))
                    self.assertFalse(os.path.exists(self.output))
                    if odd_file == "reports.dat":
                        self.assertEqual((listed.returncode, listed.stdout, listed.stderr.decode()),
                                         (1, b"", message))
                    else:
                        self.assertEqual((listed.returncode, listed.stdout), (0, b"Site\n"))
                    self.assertFalse(os.path.isfile(named), "replaced by a regular file")

    def test_a_link_to_a_regular_settings_file_is_read_and_stays_a_link(self):
        link = self.sandbox.path("home", "settings-link")
        os.symlink(self.sandbox.settings, link)

        result = self.run_bounded(self.sandbox.environment(STATVANE_SETTINGS=link),
                                  "--batch", "Site")

        self.assertEqual((result.returncode, result.stderr), (0, b""))
        self.assertTrue(os.path.islink(link))
        self.assertIn(b'"Index"=dword:00000001', read(self.sandbox.settings))
        self.assertIn(b"Top Pages", read(self.output))

if __name__ == "__main__":
    test_program.main(__doc__, batch_test)
