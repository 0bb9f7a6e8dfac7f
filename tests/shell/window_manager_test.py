#!/usr/bin/env python3
"""The desktop program's windows under a real window manager: openbox on a
virtual X display (Xvfb), driven with xdotool and checked with xprop. The
stacking, ownership and title-bar hints the window manager sees.

Without Xvfb, openbox, xdotool or xprop the tests are skipped, except under
CI=true, where a missing tool fails them.

Usage: window_manager_test.py --statvane PATH [unittest arguments]
"""
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

import desktop_test
import test_program
from desktop_test import Sandbox

TOOLS = ("Xvfb", "openbox", "xdotool", "xprop")
WAIT_LIMIT = 15
POLL = 0.1
# Enough visitors, each looked up at a DNS server that never answers, that
# the look-ups keep the run going for several seconds.
LOOKED_UP_VISITORS = 3000
# Actions that would minimise, maximise or close a window.
FORBIDDEN_ACTIONS = ("_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                     "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_CLOSE")
VISITOR_LINE = ('10.{a}.{b}.1 - - [09/Nov/2026:12:00:00 +0000] "GET /index.html HTTP/1.0" 200 512 '
                '"-" "Agent"\n')


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


def wait_until(condition, what):
    """The condition's first true value, polled until WAIT_LIMIT."""
    deadline = time.monotonic() + WAIT_LIMIT
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(POLL)


class Display:
    """Xvfb on a display number it picks itself, and openbox managing it."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
             "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as chosen:
            number = chosen.readline().strip()
        self.started = [self.server]
        if not number:
            self.close()
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"
        self.started.append(subprocess.Popen(
            ["openbox", "--sm-disable"], env=dict(os.environ, DISPLAY=self.name),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        try:
            wait_until(lambda: "window id" in self.xprop("-root", "_NET_SUPPORTING_WM_CHECK"),
                       "openbox to manage the display")
        except AssertionError:
            self.close()
            raise

    def close(self):
        for process in reversed(self.started):
            if process.poll() is None:
                process.kill()
            process.wait()

    def run(self, *command):
        return subprocess.run(command, env=dict(os.environ, DISPLAY=self.name),
                              capture_output=True, text=True, timeout=WAIT_LIMIT).stdout

    def xprop(self, *arguments):
        return self.run("xprop", *arguments)

    def windows(self, name="_NET_CLIENT_LIST", where=("-root",)):
        """The windows a window-list property names, in its order."""
        return [int(found, 16) for found in re.findall(r"0x[0-9a-f]+", self.xprop(*where, name))]

    def stacking(self):
        """The managed windows from the bottom of the stack to the top."""
        return self.windows("_NET_CLIENT_LIST_STACKING")

    def click(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y), "click", "1")

    def keys(self, *keys):
        self.run("xdotool", "key", "--delay", "100", *keys)


class Window:
    """A managed window as xprop shows it."""

    def __init__(self, display, window):
        self.id = window
        self.text = display.xprop("-id", hex(window), "WM_NAME", "_NET_WM_PID", "WM_TRANSIENT_FOR",
                                  "_NET_WM_ALLOWED_ACTIONS")
        pid = re.search(r"_NET_WM_PID\(CARDINAL\) = (\d+)", self.text)
        self.pid = int(pid.group(1)) if pid else None
        title = re.search(r'WM_NAME\(\w+\) = "(.*)"', self.text)
        self.title = title.group(1) if title else None
        owner = re.search(r"WM_TRANSIENT_FOR\(WINDOW\): window id # (0x[0-9a-f]+)", self.text)
        self.owner = int(owner.group(1), 16) if owner else None

    def allows(self, action):
        return re.search(rf"\b{action}\b", self.text) is not None


class WindowManagerTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = missing_tools()
        if missing:
            message = "missing " + ", ".join(missing) + " (scripts/install-deps.sh installs them)"
            if os.environ.get("CI") == "true":
                raise AssertionError(message)
            raise unittest.SkipTest(message)
        cls.display = Display()

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.sandbox = Sandbox(self.tmp.name)
        self.program = None

    def tearDown(self):
        if self.program is not None:
            if self.program.poll() is None:
                self.program.kill()
            self.program.communicate()

    def add_report(self, name, analyses, inputs):
        with open(os.path.join(self.sandbox.home, "reports.dat"), "a", newline="") as reports:
            reports.write(f"[{name}]\r\n{analyses}Total Options=2\r\n")
        with open(os.path.join(self.sandbox.home, "files.dat"), "a", newline="") as files:
            files.write(f"[{name}]\r\n" +
                        "".join(f"File {n}={path}\r\n" for n, path in enumerate(inputs)))

    def start(self, *arguments, **extra):
        environment = self.sandbox.environment(display=False, DISPLAY=self.display.name, **extra)
        if "STATVANE_DNS_SERVER" in extra:
            del environment["STATVANE_OFFLINE"]
        self.program = subprocess.Popen([desktop_test.STATVANE, *arguments], env=environment,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        return wait_until(lambda: self.main_window(), "the main window")

    def own_windows(self):
        """The program's managed windows, by id."""
        windows = (Window(self.display, window) for window in self.display.windows())
        return {window.id: window for window in windows if window.pid == self.program.pid}

    def main_window(self):
        found = [window for window in self.own_windows().values()
                 if window.title == "Statvane" and window.owner is None]
        return found[0] if len(found) == 1 else None

    def others(self, main, count):
        """The program's windows besides the main window, once there are
        count of them."""
        def found():
            others = [window for window in self.own_windows().values() if window.id != main.id]
            return others if len(others) == count else None
        return wait_until(found, f"{count} window(s) besides the main window")

    def click_main_window(self, main):
        """A click on the main window's status bar, which no other window covers."""
        geometry = dict(line.split("=") for line in self.display.run(
            "xdotool", "getwindowgeometry", "--shell", str(main.id)).split())
        self.display.click(int(geometry["X"]) + 5, int(geometry["Y"]) + int(geometry["HEIGHT"]) - 5)
        time.sleep(0.5)

    def assert_above(self, upper, lower, what):
        stacking = self.display.stacking()
        self.assertIn(upper.id, stacking, f"{what}: the upper window is not on screen")
        self.assertGreater(stacking.index(upper.id), stacking.index(lower.id), what)


class ProgressWindow(WindowManagerTestCase):
    def assert_progress_window(self, progress, main):
        with self.subTest("owner"):
            self.assertEqual(progress.owner, main.id, "the progress window is not the main window's")
        with self.subTest("title-bar actions"):
            allowed = [action for action in FORBIDDEN_ACTIONS if progress.allows(action)]
            self.assertEqual(allowed, [], "the window manager offers these on the progress window")

    def test_stays_above_the_main_window_clicked_during_a_run(self):
        log = self.sandbox.path("visitors.log")
        with open(log, "w") as lines:
            lines.writelines(VISITOR_LINE.format(a=n // 250, b=n % 250)
                             for n in range(LOOKED_UP_VISITORS))
        self.add_report("Looked Up", "Visitors=1\r\nDNS=1\r\n", [log])
        silent = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(silent.close)
        silent.bind(("127.0.0.1", 0))

        main = self.start("Looked Up", STATVANE_DNS_SERVER=f"127.0.0.1:{silent.getsockname()[1]}")
        [progress] = self.others(main, 1)
        self.assertEqual(progress.title, "Statvane")
        self.assert_progress_window(progress, main)
        self.click_main_window(main)
        with self.subTest("after a click on the main window"):
            self.assert_above(progress, main, "the progress window under the main window")

    def test_stays_above_the_main_window_after_the_missing_file_warning(self):
        self.add_report("Gone", "Visitors=1\r\n", [self.sandbox.path("no-such.log")])
        main = self.start("Gone")
        self.others(main, 2)
        self.display.keys("Return")
        [progress] = self.others(main, 1)
        self.assert_progress_window(progress, main)
        with self.subTest("after the warning"):
            self.assert_above(progress, main, "the progress window under the main window")
        self.click_main_window(main)
        with self.subTest("after a click on the main window"):
            self.assert_above(progress, main, "the progress window under the main window")


class OptionsMessageBox(WindowManagerTestCase):
    def test_closing_a_box_of_the_options_dialog_leaves_the_dialog_above_the_main_window(self):
        with open(self.sandbox.path("registry.reg"), "w", newline="") as settings:
            settings.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Velmor Software\\"
                           'Statvane\\Settings]\r\n"Max Cache"="abc"\r\n\r\n')
        main = self.start()
        self.display.keys("alt+t", "o")
        [options] = self.others(main, 1)
        self.assertEqual(options.title, "Options")
        self.display.keys("alt+o")  # "&Ok" warns of the cache maximum
        self.others(main, 2)
        self.display.keys("Return")
        self.others(main, 1)
        self.assert_above(options, main, "Options under the main window")


if __name__ == "__main__":
    test_program.main(__doc__, desktop_test)
