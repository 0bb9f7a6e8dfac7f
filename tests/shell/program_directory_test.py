#!/usr/bin/env python3
"""Where the program keeps its reports, end to end: the program built here
keeps them beside itself, a copy of it without the build's marker (an
installed program) in the user's data folder, and such a copy points out the
reports that were kept beside it before.

Usage: program_directory_test.py --statvane PATH [unittest arguments]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import test_program

STATVANE = None  # set from the command line
MARKER = ".statvane-build-tree"
RUN_TIME_LIMIT = 60


def write(path, text):
    with open(path, "w", newline="") as file:
        file.write(text)


class InstalledCopy(unittest.TestCase):
    """A copy of the program in a folder that its user may write to."""

    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory(prefix="statvane-place-")
        cls.installed = os.path.join(cls.temp.name, "installed")
        os.makedirs(cls.installed)
        cls.program = shutil.copy2(STATVANE, cls.installed)

    @classmethod
    def tearDownClass(cls):
        cls.temp.cleanup()

    def setUp(self):
        self.work = tempfile.mkdtemp(dir=self.temp.name)
        self.user = os.path.join(self.work, "user")
        self.data = os.path.join(self.user, ".local", "share", "statvane")
        for name in ("reports.dat", "files.dat", MARKER):
            if os.path.exists(os.path.join(self.installed, name)):
                os.remove(os.path.join(self.installed, name))

    def write_report(self, folder):
        write(os.path.join(folder, "reports.dat"), "[Nightly]\r\nVisitors=1\r\nTotal Options=1\r\n")
        write(os.path.join(folder, "files.dat"), "[Nightly]\r\nFile 0=missing.log\r\n")

    def run_program(self, *arguments):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("STATVANE_HOME", "XDG_DATA_HOME")}
        environment.update(HOME=self.user, STATVANE_SETTINGS=os.path.join(self.work, "s.reg"))
        result = subprocess.run([self.program, *arguments], env=environment, cwd=self.work,
                                capture_output=True, text=True, timeout=RUN_TIME_LIMIT)
        return result.returncode, result.stdout, result.stderr

    def test_the_build_puts_its_marker_beside_the_program(self):
        self.assertTrue(os.path.exists(os.path.join(os.path.dirname(STATVANE), MARKER)))

    def test_a_program_with_the_marker_reads_the_reports_beside_it(self):
        write(os.path.join(self.installed, MARKER), "")
        self.write_report(self.installed)
        self.assertEqual(self.run_program("--list"), (0, "Nightly\n", ""))
        self.assertFalse(os.path.exists(self.data))

    def test_an_installed_program_keeps_reports_in_the_users_data_folder(self):
        os.makedirs(self.user)
        self.assertEqual(self.run_program("--list"), (0, "", ""))
        self.assertEqual(os.listdir(self.data), [])
        self.write_report(self.data)
        self.assertEqual(self.run_program("--list"), (0, "Nightly\n", ""))

    def test_reports_left_beside_an_installed_program_are_told_at_every_start(self):
        self.write_report(self.installed)
        notice = (f"Statvane: The reports kept beside the program in {self.installed} "
                  f"(reports.dat, files.dat) are no longer read: reports are now kept in "
                  f"{self.data}. To use them, move them there (mv {self.installed}/reports.dat "
                  f"{self.installed}/files.dat {self.data}/) and start Statvane again.\n")
        for arguments, expected in [
                (["--list"], (0, "", notice)),
                (["--batch", "Nightly"],
                 (1, "", notice + 'Statvane: There is no report named "Nightly".\n'))]:
            with self.subTest(arguments=arguments):
                self.assertEqual(self.run_program(*arguments), expected)
        self.assertEqual(sorted(os.listdir(self.installed)),
                         sorted(["files.dat", "reports.dat", os.path.basename(STATVANE)]))
        self.assertEqual(os.listdir(self.data), [])


if __name__ == "__main__":
    test_program.main(__doc__, sys.modules[__name__])
