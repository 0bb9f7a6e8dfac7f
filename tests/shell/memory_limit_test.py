#!/usr/bin/env python3
"""End-to-end tests of `statvane --batch` under a limit on its address space:
web sites whose answers never end their header, and a log whose distinct
pages take more than the limit. Every peer listens on a free loopback port; no traffic leaves it.

Usage: memory_limit_test.py --statvane PATH [unittest arguments, e.g. a class name]
"""
import gzip
import os
import resource
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)
import test_program  # noqa: E402
import batch_test  # noqa: E402
import network_test  # noqa: E402
from batch_test import dated, read, write  # noqa: E402
from network_test import (RUN_TIME_LIMIT, NetworkTestCase, ScriptedServer, byte_lines,  # noqa: E402
                          figure_lines, report_profile)

# Room for the program many times over, and a small part of what a header
# without bound or the pages of the log below would take.
MEMORY_LIMIT = 1 << 30
# More pages than are asked at once, so that every request slot meets the
# hostile site and some meet it twice.
PAGES = [f"/page{number}.html" for number in range(20)]
PADDING_LINE = b"X-Padding: " + b"a" * 4083 + b"\r\n"  # 4 KiB


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY_LIMIT, MEMORY_LIMIT))


def read_request(connection):
    received = b""
    while b"\r\n\r\n" not in received:
        more = connection.recv(4096)
        if not more:
            raise OSError("the client went away before its request ended")
        received += more


def endless_header(connection, stopping):
    """A status line, then 4 KiB header lines for as long as the client reads."""
    read_request(connection)
    connection.sendall(b"HTTP/1.0 200 OK\r\n")
    while not stopping.is_set():
        connection.sendall(PADDING_LINE * 16)


def header_of_short_lines(connection, stopping):
    """A whole header with a size, but of 100,000 lines."""
    read_request(connection)
    connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n" + b"X: y\r\n" * 100000 +
                       b"\r\n")


class MemoryLimitTestCase(NetworkTestCase):
    def run_limited(self, report):
        return subprocess.run([network_test.STATVANE, "--batch", report], cwd=self.sandbox.root,
                              env=self.environment({}), capture_output=True,
                              timeout=RUN_TIME_LIMIT, preexec_fn=limit_memory)


class HostileSites(MemoryLimitTestCase):
    def test_a_header_without_bound_fails_its_page(self):
        for name, script in [("Endless Header", endless_header),
                             ("Short Lines", header_of_short_lines)]:
            with self.subTest(site=name):
                server = ScriptedServer(script)
                try:
                    output = self.write_report(name, [PAGES],
                                               {"Web Site": f"http://127.0.0.1:{server.port}"})
                    result = self.run_limited(name)
                finally:
                    server.stop()

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(byte_lines(read(output)), figure_lines(("0",) * 6))
                self.assertEqual(server.connections, len(PAGES))


class LogBeyondMemory(MemoryLimitTestCase):
    def test_running_out_of_memory_names_the_step_and_exits_with_1(self):
        # Every line asks for a page of its own with an address of almost 5,000
        # characters, so that the counted pages alone take one and a half times
        # the limit; a few megabytes on disk, in members of about 64 MiB.
        def line(number):
            path = b"/" + b"p" * 4850 + b"%09d" % number
            return dated(b"10.0.0.1", b"GET " + path + b" HTTP/1.0") + b"\n"
        per_member = (64 << 20) // len(line(0))
        members = MEMORY_LIMIT * 3 // 2 // (64 << 20)
        log = self.sandbox.path("huge.log.gz")
        with open(log, "wb") as out:
            for member in range(members):
                first = member * per_member
                out.write(gzip.compress(b"".join(line(n) for n in range(first, first + per_member)),
                                        1))
        output = self.sandbox.path("huge.txt")
        self.sandbox.write_profiles([report_profile("Huge", [log], output, analyses=("Pages",))])

        result = self.run_limited("Huge")

        self.assertEqual((result.returncode, result.stdout, result.stderr.decode()),
                         (1, b"", "Statvane: There is not enough memory to finish this analysis "
                                  "(Gathering Log Files for Analysis...).\n"))
        self.assertFalse(os.path.exists(output))


if __name__ == "__main__":
    test_program.main(__doc__, network_test, batch_test)
