#!/usr/bin/env python3
"""End-to-end tests of the desktop program as a process: the command-line run
with and without "close", the single-instance lock, starting without a
display, the commands that need none, and the time limit of a report's mail.
The windows run on Qt's offscreen platform, so no display is needed.

Usage: desktop_test.py --statvane PATH [unittest arguments, e.g. a class name]
"""
import os
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)
import test_program  # noqa: E402
from batch_test import in_deleted_folder  # noqa: E402
from network_test import ScriptedServer, accept_and_stay_silent, settings_text  # noqa: E402

STATVANE = None  # set from the command line
RUN_TIME_LIMIT = 60
SETTLE_TIME = 1.5  # how long a program that should keep running is watched
MAIL_TIMEOUT = 2
# Start-up, the run and the end of the program around the mail's time limit.
MAIL_TIMEOUT_MARGIN = 8
POSITIONS_WIDTH = '"Form1 Width"'
LOG_LINE = ('10.0.0.{n} - - [09/Nov/2026:12:00:00 +0000] "GET /page{n}.html HTTP/1.0" 200 512 '
            '"http://ref.example/" "Agent"\n')


def read(path):
    with open(path) as opened:
        return opened.read()


class Sandbox:
    """A program directory, settings file and runtime folder of their own."""

    def __init__(self, root):
        self.root = root
        self.home = os.path.join(root, "home")
        self.runtime = os.path.join(root, "runtime")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        self.log = os.path.join(root, "access.log")
        with open(self.log, "w") as log:
            log.writelines(LOG_LINE.format(n=n % 40) for n in range(2000))

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def add_saved_report(self, name, output, recipients=None):
        """A report saved to output, and mailed when recipients are given."""
        mail = f"E-Mail=1\r\nE-Mail Address={recipients}\r\n" if recipients else ""
        with open(os.path.join(self.home, "reports.dat"), "a", newline="") as reports:
            reports.write(f"[{name}]\r\nVisitors=1\r\nPages=1\r\nTotal Options=2\r\n"
                          f"File=1\r\nOutput={output}\r\n{mail}")
        with open(os.path.join(self.home, "files.dat"), "a", newline="") as files:
            files.write(f"[{name}]\r\nFile 0={self.log}\r\n")

    def environment(self, display=True, **extra):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        environment.update(STATVANE_HOME=self.home, STATVANE_SETTINGS=self.path("registry.reg"),
                           XDG_RUNTIME_DIR=self.runtime, STATVANE_OFFLINE="1")
        if display:
            environment["QT_QPA_PLATFORM"] = "offscreen"
        environment.update(extra)
        return environment

    def run(self, *arguments, display=True, preexec_fn=None, **extra):
        return subprocess.run([STATVANE, *arguments], env=self.environment(display, **extra),
                              capture_output=True, text=True, timeout=RUN_TIME_LIMIT,
                              preexec_fn=preexec_fn)

    def start(self, *arguments, **extra):
        return subprocess.Popen([STATVANE, *arguments], env=self.environment(**extra),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def settings(self):
        path = self.path("registry.reg")
        return read(path) if os.path.exists(path) else ""


class DesktopTestCase(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.sandbox = Sandbox(self.tmp.name)
        self.started = []

    def tearDown(self):
        for process in self.started:
            if process.poll() is None:
                process.kill()
            process.communicate()
        self.tmp.cleanup()

    def start(self, *arguments, **extra):
        process = self.sandbox.start(*arguments, **extra)
        self.started.append(process)
        return process

    def assert_keeps_running(self, process):
        time.sleep(SETTLE_TIME)
        self.assertIsNone(process.poll(), "the program ended by itself")

    def wait_for(self, path):
        deadline = time.monotonic() + RUN_TIME_LIMIT
        while not os.path.exists(path):
            self.assertLess(time.monotonic(), deadline, f"{path} never appeared")
            time.sleep(0.05)


class CommandLineRun(DesktopTestCase):
    def test_named_report_in_other_case_with_close_runs_and_ends(self):
        output = self.sandbox.path("nightly.txt")
        self.sandbox.add_saved_report("Nightly Report", output)
        for arguments in (["nightly REPORT", "CLOSE"], ["Nightly Report", "extra", "close"]):
            with self.subTest(arguments=arguments):
                if os.path.exists(output):
                    os.remove(output)
                result = self.sandbox.run(*arguments)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertIn("Hits", read(output))
                self.assertNotIn(POSITIONS_WIDTH, self.sandbox.settings())

    def test_single_argument_close_runs_the_report_named_close(self):
        output = self.sandbox.path("close.txt")
        self.sandbox.add_saved_report("Close", output)
        result = self.sandbox.run("close")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(os.path.exists(output))

    def test_report_without_close_runs_and_the_program_stays(self):
        output = self.sandbox.path("kept.txt")
        self.sandbox.add_saved_report("Kept", output)
        process = self.start("kept")
        self.wait_for(output)
        self.assert_keeps_running(process)

    def test_started_in_a_deleted_folder_the_report_runs_and_the_program_ends(self):
        output = self.sandbox.path("from-nowhere.txt")
        self.sandbox.add_saved_report("Nowhere", output)
        gone = self.sandbox.path("gone")
        os.makedirs(gone)
        result = self.sandbox.run("Nowhere", "close", preexec_fn=in_deleted_folder(gone))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Hits", read(output))

    def test_unknown_name_runs_nothing_and_ignores_close(self):
        output = self.sandbox.path("never.txt")
        self.sandbox.add_saved_report("Known", output)
        process = self.start("Unknown", "close")
        self.assert_keeps_running(process)
        self.assertFalse(os.path.exists(output))


class MailTimeLimit(DesktopTestCase):
    """A mailed report's delivery to a server on loopback that accepts the
    connection and never speaks; the resolver library reports a connection."""

    def test_close_ends_at_the_time_limit_and_tells_why(self):
        silent = ScriptedServer(accept_and_stay_silent)
        self.addCleanup(silent.stop)
        with open(self.sandbox.path("registry.reg"), "wb") as settings:
            settings.write(settings_text({"Server": f"127.0.0.1:{silent.port}",
                                          "From": "statvane@example.org"}))
        output = self.sandbox.path("mailed.txt")
        self.sandbox.add_saved_report("Mailed", output, recipients="a@example.org")

        process = self.start("Mailed", "close", STATVANE_OFFLINE="0",
                             STATVANE_DNS_SERVER="127.0.0.1:9",
                             STATVANE_MAIL_TIMEOUT=str(MAIL_TIMEOUT))
        try:
            _, stderr = process.communicate(timeout=MAIL_TIMEOUT + MAIL_TIMEOUT_MARGIN)
        except subprocess.TimeoutExpired:
            self.fail(f"still running {MAIL_TIMEOUT + MAIL_TIMEOUT_MARGIN} s after the start")

        self.assertEqual(process.returncode, 0)
        self.assertTrue(os.path.exists(output))
        self.assertEqual(silent.connections, 1)
        # The offscreen platform adds notices of its own.
        self.assertIn("Statvane: The mail server did not finish the delivery in time.",
                      stderr.decode().splitlines())


class SingleInstance(DesktopTestCase):
    def lock_file(self):
        return os.path.join(self.sandbox.runtime, "PROJECT1")

    def test_second_copy_ends_at_once_while_the_first_runs(self):
        first = self.start()
        self.wait_for(self.lock_file())
        output = self.sandbox.path("second.txt")
        self.sandbox.add_saved_report("Second", output)
        started = time.monotonic()
        second = self.sandbox.run("Second", "close")
        self.assertEqual(second.returncode, 0)
        self.assertEqual(second.stdout + second.stderr, "")
        self.assertLess(time.monotonic() - started, 10)
        self.assertFalse(os.path.exists(output))
        self.assertIsNone(first.poll())

    def test_lock_left_by_a_crashed_copy_does_not_block(self):
        crashed = self.start()
        self.wait_for(self.lock_file())
        crashed.kill()
        crashed.communicate()
        self.assertTrue(os.path.exists(self.lock_file()))
        output = self.sandbox.path("after-crash.txt")
        self.sandbox.add_saved_report("After", output)
        self.assertEqual(self.sandbox.run("After", "close").returncode, 0)
        self.assertTrue(os.path.exists(output))

    def test_without_a_usable_runtime_folder_the_program_runs_unguarded(self):
        not_a_folder = self.sandbox.path("plain-file")
        open(not_a_folder, "w").close()
        output = self.sandbox.path("unguarded.txt")
        self.sandbox.add_saved_report("Unguarded", output)
        result = self.sandbox.run("Unguarded", "close", XDG_RUNTIME_DIR=not_a_folder)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(os.path.exists(output))

    def test_batch_run_takes_no_lock(self):
        first = self.start()
        self.wait_for(self.lock_file())
        output = self.sandbox.path("cron.txt")
        self.sandbox.add_saved_report("Cron", output)
        result = self.sandbox.run("--batch", "Cron", display=False)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(os.path.exists(output))
        self.assertIsNone(first.poll())


class WithoutDisplay(DesktopTestCase):
    def test_desktop_program_needs_a_display_and_says_so_in_one_line(self):
        for arguments in ([], ["Some Report", "close"]):
            with self.subTest(arguments=arguments):
                result = self.sandbox.run(*arguments, display=False)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(len(result.stderr.splitlines()), 1)
                self.assertIn("display", result.stderr)
                self.assertIn("--batch", result.stderr)
                self.assertFalse(os.path.exists(os.path.join(self.sandbox.runtime, "PROJECT1")))

    def test_unknown_option_gives_the_usage_and_exit_code_2(self):
        for arguments in (["--bogus"], ["-x", "Report"], ["Report", "--close"], ["--batch"]):
            with self.subTest(arguments=arguments):
                result = self.sandbox.run(*arguments)
                self.assertEqual(result.returncode, 2)
                self.assertIn("Usage: statvane", result.stderr)
                self.assertFalse(os.path.exists(os.path.join(self.sandbox.runtime, "PROJECT1")))

    def test_list_and_version_need_no_display(self):
        self.sandbox.add_saved_report("First one", "a.txt")
        self.sandbox.add_saved_report("Second", "b.txt")
        listed = self.sandbox.run("--list", display=False)
        self.assertEqual((listed.returncode, listed.stdout), (0, "First one\nSecond\n"))
        version = self.sandbox.run("--version", display=False)
        self.assertEqual((version.returncode, version.stdout), (0, "Statvane v1.0\n"))

    def test_unreadable_profile_files_list_no_reports(self):
        os.makedirs(os.path.join(self.sandbox.home, "reports.dat"))
        listed = self.sandbox.run("--list", display=False)
        self.assertEqual(listed.stdout, "")


if __name__ == "__main__":
    test_program.main(__doc__, sys.modules[__name__])
