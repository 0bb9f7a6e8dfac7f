#!/usr/bin/env python3
"""End-to-end tests of `statvane --batch`: the report it writes must equal,
byte for byte, the one computed by reference_report.py; its messages, exit
codes and the files it may touch are checked too.

Usage: batch_test.py --statvane PATH [unittest arguments, e.g. a class name]
"""
import os
import resource
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)
import test_program  # noqa: E402
import reference_report  # noqa: E402

GENERATOR = os.path.join(HERE, "..", "..", "bench", "generate_log.py")
STATVANE = None  # set from the command line
RUN_TIME_LIMIT = 60
NO_HANG_LIMIT = 10  # for runs that must end at once, where a fault would hang
PRODUCT_KEY = "HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane"
MISSING_FILES = ("The file(s) listed under this report do not exist.  Please check the "
                 "filename(s) by right-clicking on the report and selecting 'Properties.'  "
                 "Then, click on the 'Inputs' tab.")
OUTPUT_IS_INPUT = ("The output file of this report, {}, is also one of its log files.  Please "
                   "choose another output file by right-clicking on the report and selecting "
                   "'Properties.'  Then, click on the 'Output' tab.")


def dated(visitor, request, referrer=b"-", agent=b"Mozilla/5.0 (X11; Odd)", when=b"09/Nov/2026"):
    return (visitor + b" - - [" + when + b':12:00:00 +0000] "' + request + b'" 200 512 "' +
            referrer + b'" "' + agent + b'"')


# Lines that do not come out of the generator, each with its own line end.
ODD_LINES = [
    b"noblankatall\n",
    b' leading blank - - [09/Nov/2026:12:00:00 +0000] "GET /blank HTTP/1.0" 200 1 "-" "-"\n',
    dated(b"10.9.9.9", b"POST /form.cgi HTTP/1.1", b"http://ref.example.org/Form") + b"\n",
    b'GETHOST.example.net - - [09/Nov/2026:12:00:01 +0000] "POST /x HTTP/1.0" 200 1 "-" "-"\n',
    dated(b"10.9.9.10", b"GET //x HTTP/1.0") + b"\r\n",
    dated(b"10.9.9.11", b"GET / HTTP/1.0") + b"\r\n",
    dated(b"10.9.9.12", b"GET /docs/ HTTP/1.0") + b"\n",
    dated(b"10.9.9.13", b"GET HTTP/1.0") + b"\n",
    dated(b"10.9.9.14", b"GET  HTTP/1.0") + b"\n",
    dated(b"10.9.9.15", b"GET /Docs/Index.html HTTP/1.0", b"HTTP://Ref.Example.org/Links",
          b"Mozilla/5.0 ODD Agent") + b"\r\n",
    dated(b"10.9.9.16", b"GET /docs/index.html HTTP/1.0", b"http://ref.example.org/links",
          b"mozilla/5.0 odd agent") + b"\n",
    dated(b"HOST1.Example.NET", b"GET /DOCS/INDEX.HTML HTTP/1.0") + b"\n",
    dated(b"host1.example.net", b"GET /docs/index.html HTTP/1.0") + b"\n",
    dated(b"10.9.9.17", b"GET /long/" + b"a" * 6000 + b" HTTP/1.0") + b"\n",
    b"10.9.9.18 " + b"b" * 11990 + b"\r\n",
    b"10.9.9.19 " + b"c" * 4989 + b"\n",
    b"10.9.9.20 " + b"d" * 4990 + b"\r\n",
    dated(b"10.9.9.21", b"GET /nul\x00path HTTP/1.0", b"http://nul\x00.example.org/",
          b"Agent\x00With NUL") + b"\n",
    dated(b"10.9.9.\xff", b"GET /caf\xe9/\xc3(bad HTTP/1.0", b"http://\xff\xfe.example.org/",
          b"Agent \xe9\xff invalid") + b"\n",
    b'10.9.9.22 - - [09/Nov/2026:12:00:02 +0000] "GET /one-quote HTTP/1.0 200 1\n',
    b'10.9.9.23 - - [09/Nov/2026:12:00:03 +0000] "GET /two-quotes HTTP/1.0" 200 1\n',
    b'10.9.9.24 - - [09/Nov/2026:12:00:04 +0000] "GET /three HTTP/1.0" 200 1 "http://x.org/\n',
    dated(b"10.9.9.25", b"GET /short-fields HTTP/1.0", b"ab", b"ab") + b"\n",
    dated(b"10.9.9.26", b"GET /short-fields HTTP/1.0", b"abc", b"abc") + b"\n",
    dated(b"10.9.9.27", b"GET /comma,page HTTP/1.0", b"http://a.org/x,y", b"Agent, with comma")
    + b"\n",
    b'10.9.9.29 - - [09/Nov/2026:12:00:05 +0000] "GET /q HTTP/1.0""quoted" "http://b.org/" "Q"\n',
    b'10.9.9.30 - - [09/Nov/2026:12:00:06 +0000] ""x" "http://q1.example.org/" "Agent Q1"\n',
    b"\n\r\n\n",
    b"lone\rcarriage return in the middle\r\r\n",
    dated(b"10.9.9.28", b"GET /search?q=Ab&x=/ HTTP/1.0", b"-",
          b"Mozilla/5.0 (X11; Odd)") + b"\n",
]

# Of the pieces the run makes of ODD_LINES (its lines that are not empty, a
# long one in pieces of 4999), those not in the combined layout: the lines
# without a blank or with a leading one (2), the pieces of the long lines
# (2 + 3 + 1 + 2), those whose quotes are missing or misplaced (5) and the
# line with carriage returns inside (1).
ODD_PIECES = 33
ODD_PIECES_OUT_OF_LAYOUT = 16

# A line in the combined layout, for logs whose content does not matter.
PLAIN_LINE = b'10.1.1.1 - - [09/Nov/2026:12:00:00 +0000] "GET /blank HTTP/1.0" 200 1 "-" "-"\n'


def layout_notice(path, outside, lines):
    return f"Statvane: {path}: {outside} of {lines} lines are not in the combined log layout.\n"


def generate(path, variant, lines):
    subprocess.run([sys.executable, GENERATOR, "--lines", str(lines), "--visitors", "400",
                    "--pages", "80", "--variant", str(variant), path], check=True)


def append(path, data):
    with open(path, "ab") as file:
        file.write(data)


def write(path, data):
    with open(path, "wb") as file:
        file.write(data)


def read(path):
    with open(path, "rb") as file:
        return file.read()


def crlf_lines(lines):
    return "".join(line + "\r\n" for line in lines).encode()


def registry_text(web_site="", visitor=(), referrer=(), top_pages=()):
    def escaped(text):
        return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'

    def key(path, values):
        lines = ["[" + path + "]"] + [escaped(name) + "=" + data for name, data in values]
        return lines + [""]

    def filter_list(entries):
        return [(str(position), escaped(entry)) for position, entry in enumerate(entries)]

    lines = ["REGEDIT4", ""]
    lines += key(PRODUCT_KEY, [("Index", "dword:00000000")])
    lines += key(PRODUCT_KEY + "\\Settings", [("Web Site", escaped(web_site))])
    lines += key(PRODUCT_KEY + "\\Visitor", filter_list(visitor))
    lines += key(PRODUCT_KEY + "\\Referrer", filter_list(referrer))
    lines += key(PRODUCT_KEY + "\\TopPages", filter_list(top_pages))
    return crlf_lines(lines)


ANALYSES = ("Visitors", "Referrers", "Pages", "Browser")


def profile(name, analyses, inputs, output, to_file=True):
    """(reports.dat section, files.dat section) of one report; no "Output" key
    when output is None."""
    keys = [f"{analysis}={int(analysis in analyses)}" for analysis in ANALYSES]
    output_key = [] if output is None else [f"Output={output}"]
    report = [f"[{name}]", "Description=made by the batch tests", *keys, "DNS=0", "Bytes=0",
              f"File={int(to_file)}", *output_key, f"Total Options={max(len(analyses), 1)}",
              "E-Mail Address=", "E-Mail=0"]
    files = [f"[{name}]"] + [f"File {n}={entry}" for n, entry in enumerate(inputs)]
    return report, files


class Sandbox:
    """A program directory, a settings file and log folders in one temporary folder."""

    def __init__(self, root):
        self.root = root
        self.home = os.path.join(root, "home")
        self.settings = os.path.join(root, "registry.reg")
        os.makedirs(self.home, exist_ok=True)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def write_profiles(self, profiles):
        write(os.path.join(self.home, "reports.dat"), crlf_lines(sum((r for r, _ in profiles), [])))
        write(os.path.join(self.home, "files.dat"), crlf_lines(sum((f for _, f in profiles), [])))

    def profile_files(self):
        return [read(os.path.join(self.home, name)) for name in ("reports.dat", "files.dat")]

    def environment(self, **overrides):
        return {**os.environ, "STATVANE_HOME": self.home, "STATVANE_SETTINGS": self.settings,
                **overrides}

    def run(self, *arguments, timeout=RUN_TIME_LIMIT, environment=None, **options):
        return subprocess.run([STATVANE, *arguments], cwd=self.root,
                              env=environment or self.environment(), capture_output=True,
                              timeout=timeout, **options)

    def start(self, *arguments):
        """A run to act on while it works; its output goes to pipes."""
        return subprocess.Popen([STATVANE, *arguments], cwd=self.root, env=self.environment(),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def reference(self, report):
        return reference_report.run(os.fsencode(self.home), os.fsencode(self.settings),
                                    os.fsencode(report), os.fsencode(self.root))


def build_logs(sandbox):
    """logs/ holds a.log, B.log, c.LOG, notes.txt, noext and what no pattern may pick up;
    other/extra.log stands alone."""
    logs, other = sandbox.path("logs"), sandbox.path("other")
    os.makedirs(os.path.join(logs, "sub.log"))
    os.makedirs(other)
    generate(os.path.join(logs, "a.log"), 1, 1500)
    append(os.path.join(logs, "a.log"), b"".join(ODD_LINES))
    generate(os.path.join(logs, "B.log"), 2, 1000)
    generate(os.path.join(logs, "c.LOG"), 3, 300)
    write(os.path.join(logs, "notes.txt"), dated(b"10.7.7.7", b"GET /notes HTTP/1.0") + b"\n")
    write(os.path.join(logs, "noext"), dated(b"10.7.7.8", b"GET /noext HTTP/1.0") + b"\n")
    write(os.path.join(logs, ".hidden.log"), dated(b"10.6.6.6", b"GET /hidden HTTP/1.0") + b"\n")
    write(os.path.join(logs, "sub.log", "inner.log"), b"10.5.5.5 not read\n")
    extra = os.path.join(other, "extra.log")
    generate(extra, 4, 800)
    write(extra, read(extra).replace(b"\n", b"\r\n"))
    append(extra, b"".join(reversed(ODD_LINES)) + dated(b"10.8.8.8", b"GET /last HTTP/1.0"))


def odd_log_notices(sandbox, names):
    """What a run tells of the logs of build_logs that hold ODD_LINES, named
    relative to the sandbox in the order the run reads them."""
    lines = {"logs/a.log": 1500 + ODD_PIECES, "other/extra.log": 800 + ODD_PIECES + 1}
    return "".join(layout_notice(sandbox.path(name), ODD_PIECES_OUT_OF_LAYOUT, lines[name])
                   for name in names).encode()


class BatchTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory(prefix="statvane-batch-")
        cls.sandbox = Sandbox(cls.temp.name)

    @classmethod
    def tearDownClass(cls):
        cls.temp.cleanup()

    def use_settings(self, **lists):
        text = registry_text(**lists)
        write(self.sandbox.settings, text)
        return text

    def assert_same_report(self, actual, expected):
        self.assertEqual(actual.split(b"\r\n"), expected.split(b"\r\n"))  # shows the first line
        self.assertEqual(actual, expected)

    def assert_only_index_changed(self, settings_before, profiles_before, allow_unchanged=False):
        after = read(self.sandbox.settings)
        indexed = settings_before.replace(b'"Index"=dword:00000000', b'"Index"=dword:00000001')
        allowed = (indexed, settings_before) if allow_unchanged else (indexed,)
        self.assertIn(after, allowed, "the settings file changed beyond \"Index\"")
        self.assertEqual(self.sandbox.profile_files(), profiles_before)


FILTERS = dict(web_site="http://www.example.com", visitor=["*.example.net*", "GET*", "10.9.9.1*"],
               referrer=["site1", "Links", "nul"], top_pages=["/downloads/", "?q=", "Index"])


class ReportMatchesReference(BatchTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        build_logs(cls.sandbox)

    A = "logs/a.log"
    EXTRA = "other/extra.log"
    # (report name, analyses, inputs relative to the sandbox, settings, logs
    # told to hold lines out of the combined layout)
    CASES = [
        ("Hits Only", (), ["logs/*.log"], {}, [A]),
        ("Visitors", ("Visitors",), ["logs/*.log", "other/extra.log"], FILTERS, [A, EXTRA]),
        ("Referrers", ("Referrers",), ["other/extra.log"], FILTERS, [EXTRA]),
        ("Pages", ("Pages",), ["logs/a.log", "other/extra.log"], FILTERS, [A, EXTRA]),
        ("Pages Without Site", ("Pages",), ["logs/*.*"], {}, [A]),
        ("Browsers", ("Browser",), ["logs/*.*", "other/extra.log"], {}, [A, EXTRA]),
        ("All Four", ANALYSES, ["logs/*.log", "other/extra.log"], {}, [A, EXTRA]),
        ("All Four Filtered", ANALYSES, ["logs/*.*", "other/extra.log", "logs/a.log"], FILTERS,
         [A, EXTRA, A]),
        ("Missing Folder", ANALYSES, ["nowhere/*.log", "other\\extra.log"], FILTERS, [EXTRA]),
    ]

    def test_written_report_equals_reference(self):
        for name, analyses, inputs, settings, told in self.CASES:
            with self.subTest(report=name):
                output = self.sandbox.path("reports", name + ".txt")
                os.makedirs(os.path.dirname(output), exist_ok=True)
                entries = [self.sandbox.path(entry) for entry in inputs]
                self.sandbox.write_profiles([profile(name, analyses, entries, output)])
                settings_before = self.use_settings(**settings)
                profiles_before = self.sandbox.profile_files()

                result = self.sandbox.run("--batch", name.swapcase())

                self.assertEqual((result.returncode, result.stderr, result.stdout),
                                 (0, odd_log_notices(self.sandbox, told), b""))
                self.assert_same_report(read(output), self.sandbox.reference(name))
                self.assert_only_index_changed(settings_before, profiles_before)

    def test_report_for_the_screen_goes_to_standard_output(self):
        name = "On Screen"
        entries = [self.sandbox.path("logs", "*.log"), self.sandbox.path("other", "extra.log")]
        self.sandbox.write_profiles([profile(name, ANALYSES, entries, "unused.txt", False)])
        settings_before = self.use_settings(**FILTERS)
        profiles_before = self.sandbox.profile_files()

        result = self.sandbox.run("--batch", name)

        self.assertEqual((result.returncode, result.stderr),
                         (0, odd_log_notices(self.sandbox, [self.A, self.EXTRA])))
        self.assert_same_report(result.stdout, self.sandbox.reference(name))
        self.assertFalse(os.path.exists(self.sandbox.path("unused.txt")))
        self.assert_only_index_changed(settings_before, profiles_before, allow_unchanged=True)

    def test_output_without_a_folder_is_written_to_the_current_folder(self):
        # A wildcard entry makes its folder the current one, as the run lists it.
        cases = [("Wildcard Default", ["logs/*.log"], "logs", [self.A]),
                 ("Plain Default", ["other/extra.log"], "", [self.EXTRA])]
        for name, inputs, folder, told in cases:
            with self.subTest(report=name):
                entries = [self.sandbox.path(entry) for entry in inputs]
                self.sandbox.write_profiles([profile(name, ("Visitors",), entries, None)])
                self.use_settings()
                expected = self.sandbox.path(folder, "test.txt")

                result = self.sandbox.run("--batch", name)

                self.assertEqual((result.returncode, result.stderr),
                                 (0, odd_log_notices(self.sandbox, told)))
                self.assert_same_report(read(expected), self.sandbox.reference(name))
                os.remove(expected)


class MessagesAndExitCodes(BatchTestCase):
    def setUp(self):
        self.output = self.sandbox.path("messages.txt")
        existing = self.sandbox.path("one.log")
        write(existing, PLAIN_LINE)
        self.empty_log = self.sandbox.path("empty.log")
        write(self.empty_log, b"\r\n\n")
        self.missing_folder_output = self.sandbox.path("no-such-folder", "out.txt")
        self.sandbox.write_profiles([
            profile("Missing Input", ANALYSES, [existing, self.sandbox.path("gone.log")],
                    self.output),
            profile("Bad Output", ANALYSES, [existing], self.missing_folder_output),
            profile("Nothing To Read", ANALYSES, [self.empty_log], self.output),
        ])
        self.settings_before = self.use_settings()
        self.profiles_before = self.sandbox.profile_files()

    def test_failed_runs_print_one_message_and_exit_with_1(self):
        # A message about a file is followed by a line naming it and the system's reason.
        cases = [
            (["--batch", "No Such Report"], None),
            (["--batch", "missing input"],
             [MISSING_FILES, self.sandbox.path("gone.log") + ": No such file or directory"]),
            (["--batch", "Bad Output"],
             [f"Cannot create file {self.missing_folder_output}.",
              f"{self.missing_folder_output}: No such file or directory"]),
            (["--batch", "Nothing To Read"], None),
        ]
        for arguments, expected_lines in cases:
            with self.subTest(arguments=arguments):
                result = self.sandbox.run(*arguments)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stdout, b"")
                error = result.stderr.decode()
                if expected_lines is None:
                    self.assertRegex(error, r"\AStatvane: [^\n]+\n\Z")
                else:
                    self.assertEqual(error, "".join(f"Statvane: {line}\n"
                                                    for line in expected_lines))
                self.assertFalse(os.path.exists(self.output))
                self.assertFalse(os.path.exists(os.path.dirname(self.missing_folder_output)))
                self.assert_only_index_changed(self.settings_before, self.profiles_before,
                                               allow_unchanged=True)

    def test_from_a_deleted_working_folder_a_relative_input_is_a_missing_file(self):
        # one.log stands in the folder the run would otherwise start in.
        self.sandbox.write_profiles([profile("Relative", ANALYSES, ["one.log"], self.output)])
        gone = self.sandbox.path("gone")
        os.makedirs(gone)

        result = self.sandbox.run("--batch", "Relative", preexec_fn=in_deleted_folder(gone))

        self.assertEqual((result.returncode, result.stdout), (1, b""))
        self.assertEqual(result.stderr.decode(),
                         f"Statvane: {MISSING_FILES}\n"
                         "Statvane: one.log: No such file or directory\n")

    def run_writing_a_report(self, environment=None):
        """A run of a report that is written whatever else is told; its report
        is removed again."""
        existing = self.sandbox.path("one.log")
        self.sandbox.write_profiles([profile("Written", ANALYSES, [existing], self.output)])
        try:
            result = self.sandbox.run("--batch", "Written", environment=environment)
            self.assertEqual((result.returncode, result.stdout), (0, b""))
            return result.stderr.decode(), read(self.output)
        finally:
            if os.path.exists(self.output):
                os.remove(self.output)

    def test_a_settings_value_of_the_wrong_kind_is_told_once(self):
        # Loading tells it; the run then reads the site as empty and goes on.
        write(self.sandbox.settings, self.settings_before.replace(b'"Web Site"=""',
                                                                  b'"Web Site"=dword:00000001'))
        error, report = self.run_writing_a_report()
        self.assertEqual(error, "Statvane: Invalid data type for 'Web Site'.\n")
        self.assertIn(b"\r\n/blank,1,100\r\n", report)

    def test_a_ca_file_that_cannot_be_read_is_told_once(self):
        cases = [(self.sandbox.path("no-such.pem"), "No such file or directory"),
                 (self.sandbox.root, "Is a directory"),
                 (self.empty_log, "it holds no certificate")]
        for ca_file, reason in cases:
            with self.subTest(ca_file=ca_file):
                error, _ = self.run_writing_a_report(
                    self.sandbox.environment(STATVANE_CA_FILE=ca_file))
                self.assertEqual(error, f"Statvane: STATVANE_CA_FILE names {ca_file}, which could "
                                        f"not be read as PEM certificates: {reason}.\n")

    def test_unknown_report_leaves_no_settings_file_and_no_program_files(self):
        # The settings are loaded (which creates their file) only for a report that exists.
        empty_home = self.sandbox.path("empty-home")
        os.makedirs(empty_home, exist_ok=True)
        for home in (self.sandbox.home, empty_home):
            with self.subTest(home=home):
                settings = self.sandbox.path("unwritten-" + os.path.basename(home), "registry.reg")
                names_before = sorted(os.listdir(home))
                environment = self.sandbox.environment(STATVANE_HOME=home,
                                                       STATVANE_SETTINGS=settings)

                result = self.sandbox.run("--batch", "No Such Report", environment=environment)

                self.assertEqual((result.returncode, result.stdout, result.stderr.decode()),
                                 (1, b"", 'Statvane: There is no report named "No Such Report".\n'))
                self.assertFalse(os.path.exists(os.path.dirname(settings)))
                self.assertEqual(sorted(os.listdir(home)), names_before)

    def test_wrong_command_lines_exit_with_2(self):
        for arguments in (["--batch"], ["--batch", ""], ["--batch", "Bad Output", "close"],
                          ["Bad Output", "--close"], ["--unknown"],
                          ["--period", "last week"], ["--batch", "Bad Output", "--period"],
                          ["--batch", "Bad Output", "--period", "all", "--period", "all"],
                          ["--batch", "Bad Output", "--batch", "Bad Output"],
                          ["--batch", "Bad Output", "--when", "all"],
                          ["Bad Output", "--period", "all"]):
            with self.subTest(arguments=arguments):
                result = self.sandbox.run(*arguments)
                self.assertEqual((result.returncode, result.stdout), (2, b""))
                self.assertIn(b"--batch", result.stderr)
        self.assertEqual(read(self.sandbox.settings), self.settings_before)

    def test_a_wrong_period_is_named_and_exits_with_2(self):
        for value in ("fortnight", "", "between", "2026-02-01..2026-02-30",
                      "2026-03-01..2026-02-01", "2026-2-1..2026-2-28"):
            for arguments in (["--batch", "Bad Output", "--period", value],
                              ["--period", value, "--batch", "Bad Output"]):
                with self.subTest(arguments=arguments):
                    result = self.sandbox.run(*arguments)
                    self.assertEqual((result.returncode, result.stdout, result.stderr.decode()),
                                     (2, b"", f'Statvane: --period: "{value}" is not a period: '
                                              "use all, yesterday, last 7 days, last 30 days, "
                                              "last week, last month or FROM..TO (two dates "
                                              "yyyy-mm-dd).\n"))
        self.assertEqual(read(self.sandbox.settings), self.settings_before)

    def test_a_period_is_taken_before_or_after_the_report(self):
        # The command line is accepted: the run then looks for the report.
        for value in ("last week", "LAST  30 days", "2024-02-29..2024-03-01"):
            for arguments in (["--batch", "No Such Report", "--period", value],
                              ["--period", value, "--batch", "No Such Report"]):
                with self.subTest(arguments=arguments):
                    result = self.sandbox.run(*arguments)
                    self.assertEqual((result.returncode, result.stdout, result.stderr.decode()),
                                     (1, b"", 'Statvane: There is no report named '
                                              '"No Such Report".\n'))

    def test_help_exits_with_0(self):
        result = self.sandbox.run("--help")
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        self.assertIn(b"--batch REPORT [--period PERIOD]", result.stdout)
        self.assertIn(b'--period "last week"', result.stdout)


def long_visitor_log(path, lines):
    """A log whose visitors list makes a report about as large as the log."""
    with open(path, "wb") as file:
        for number in range(lines):
            visitor = b"v%06d-" % number + b"x" * 4000
            file.write(dated(visitor, b"GET / HTTP/1.0") + b"\n")


def limit_file_size(size, disposition=signal.SIG_IGN):
    """For a child process: writing beyond size fails as on a full disk (EFBIG)
    when SIGXFSZ is ignored; the program must ignore it itself when it starts
    with the signal's default disposition, which ends a process (`ulimit -f`)."""
    def limit():
        signal.signal(signal.SIGXFSZ, disposition)
        resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))
    return limit


def in_deleted_folder(folder):
    """For a child process: works in folder, which is then deleted."""
    def enter():
        os.chdir(folder)
        os.rmdir(folder)
    return enter


def hidden_names(folder):
    return sorted(name for name in os.listdir(folder) if name.startswith("."))


class ReportFileIsReplacedWhole(BatchTestCase):
    """A failed or killed write leaves the previous report byte for byte; a
    left-over temporary file is never read as a log."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = cls.sandbox.path("big")
        os.makedirs(cls.folder)
        long_visitor_log(os.path.join(cls.folder, "access.log"), 10000)
        cls.report = os.path.join(cls.folder, "report.txt")
        cls.sandbox.write_profiles([profile("Big", ("Visitors",), [cls.folder + "/*.*"],
                                            cls.report)])
        write(cls.sandbox.settings, registry_text())
        cls.complete = cls.sandbox.reference("Big")

    def setUp(self):
        # An earlier report of this one, which its wildcard passes over.
        self.previous = (b"Statvane\r\nReport Profile - 08/Nov/2026 to 09/Nov/2026\r\n" +
                         b"the previous report\r\n" * 1000)
        write(self.report, self.previous)
        for name in hidden_names(self.folder):
            os.remove(os.path.join(self.folder, name))

    def test_full_disk_leaves_the_previous_report(self):
        for disposition in (signal.SIG_IGN, signal.SIG_DFL):
            with self.subTest(sigxfsz=disposition):
                result = self.sandbox.run("--batch", "Big",
                                          preexec_fn=limit_file_size(1 << 20, disposition))

                self.assertEqual(read(self.report), self.previous)
                self.assertEqual(sorted(os.listdir(self.folder)), ["access.log", "report.txt"])
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stderr.decode(),
                                 "Statvane: Stream write error.\n"
                                 f"Statvane: {self.report}: File too large\n")

    def test_kill_during_the_write_leaves_the_previous_report(self):
        for _ in range(5):
            run = self.sandbox.start("--batch", "Big")
            caught = self.stop_while_writing(run)
            run.kill()
            run.communicate()
            if caught:
                break
            write(self.report, self.previous)
        else:
            self.fail("the run was never caught writing its report")
        self.assertEqual(run.returncode, -signal.SIGKILL)
        self.assertEqual(read(self.report), self.previous)

        # The next run neither reads the left-over temporary file nor its own report.
        result = self.sandbox.run("--batch", "Big")
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        self.assert_same_report(read(self.report), self.complete)

    def stop_while_writing(self, run):
        """Stops the run once it has begun to write its report; True when the
        new report was not yet in place then."""
        previous = os.stat(self.report)
        while run.poll() is None:
            now = os.stat(self.report)
            if hidden_names(self.folder) or (now.st_size, now.st_mtime_ns) != (
                    previous.st_size, previous.st_mtime_ns):
                run.send_signal(signal.SIGSTOP)
                return run.poll() is None and (bool(hidden_names(self.folder))
                                               or read(self.report) != self.complete)
            time.sleep(0.0005)
        return False


class ReportNeverReadsItsOwnFiles(BatchTestCase):
    def setUp(self):
        self.logs = self.sandbox.path("own")
        os.makedirs(self.logs, exist_ok=True)
        generate(os.path.join(self.logs, "a.log"), 5, 300)
        generate(os.path.join(self.logs, "b.log"), 6, 200)
        self.settings_before = self.use_settings()

    def test_output_named_among_the_inputs_ends_the_run_before_anything_is_written(self):
        log = os.path.join(self.logs, "b.log")
        link = self.sandbox.path("link-to-b.log")
        if not os.path.islink(link):
            os.symlink(log, link)
        inputs = [os.path.join(self.logs, "a.log"), log]
        # (the report's "Output", the file named in the message)
        cases = [(log, log), ("own/b.log", self.sandbox.path("own/b.log")), (link, link)]
        for output, shown in cases:
            with self.subTest(output=output):
                self.sandbox.write_profiles([profile("Own", ANALYSES, inputs, output)])
                profiles_before = self.sandbox.profile_files()
                log_before = read(log)
                names_before = sorted(os.listdir(self.logs))

                result = self.sandbox.run("--batch", "Own")

                self.assertEqual((result.returncode, result.stdout), (1, b""))
                self.assertEqual(result.stderr.decode(),
                                 "Statvane: " + OUTPUT_IS_INPUT.format(shown) + "\n")
                self.assertEqual(read(log), log_before)
                self.assertEqual(sorted(os.listdir(self.logs)), names_before)
                self.assertEqual(read(self.sandbox.settings), self.settings_before)
                self.assertEqual(self.sandbox.profile_files(), profiles_before)

    def test_output_that_is_or_links_to_a_log_is_refused_and_every_log_kept(self):
        log = os.path.join(self.logs, "b.log")
        symbolic, hard = self.sandbox.path("symbolic-b.log"), self.sandbox.path("hard-b.log")
        for link in (symbolic, hard):
            if os.path.lexists(link):
                os.remove(link)
        os.symlink(log, symbolic)
        os.link(log, hard)
        wildcard = [self.logs + "/*.log"]
        # (input entries, the report's "Output", the file named in the message)
        cases = [([log], hard, hard), (wildcard, "b.log", log), (wildcard, log, log),
                 (wildcard, symbolic, symbolic), (wildcard, hard, hard)]
        for inputs, output, shown in cases:
            with self.subTest(inputs=inputs, output=output):
                self.sandbox.write_profiles([profile("Own", ANALYSES, inputs, output)])
                logs_before = {name: read(os.path.join(self.logs, name))
                               for name in os.listdir(self.logs)}

                result = self.sandbox.run("--batch", "Own")

                self.assertEqual((result.returncode, result.stdout), (1, b""))
                self.assertEqual(result.stderr.decode(),
                                 "Statvane: " + OUTPUT_IS_INPUT.format(shown) + "\n")
                self.assertEqual({name: read(os.path.join(self.logs, name))
                                  for name in os.listdir(self.logs)}, logs_before)
                self.assertTrue(os.path.islink(symbolic))
                self.assertEqual(os.stat(hard).st_ino, os.stat(log).st_ino)

    def test_relative_output_beside_a_wildcards_logs_gives_the_same_report_every_run(self):
        self.sandbox.write_profiles([profile("Beside", ANALYSES, [self.logs + "/*.*"], None)])
        expected = self.sandbox.reference("Beside")
        for run in range(3):
            with self.subTest(run=run):
                result = self.sandbox.run("--batch", "Beside")
                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assert_same_report(read(os.path.join(self.logs, "test.txt")), expected)


class InputsThatAreNotRegularFiles(BatchTestCase):
    """Folders, devices and FIFOs end the run with the fixed message at once;
    a detail line names each file that cannot be read, and why."""

    def setUp(self):
        self.log = self.sandbox.path("good.log")
        write(self.log, ODD_LINES[1])
        self.fifo = self.sandbox.path("fifo")
        if not os.path.exists(self.fifo):
            os.mkfifo(self.fifo)
        self.missing = self.sandbox.path("gone.log")
        self.output = self.sandbox.path("unwritten.txt")
        self.use_settings()

    def run_with_inputs(self, inputs):
        self.sandbox.write_profiles([profile("Odd", ANALYSES, inputs, self.output)])
        return self.sandbox.run("--batch", "Odd", timeout=NO_HANG_LIMIT)

    def test_each_file_that_cannot_be_read_is_named_with_the_reason(self):
        reasons = {"/dev/zero": "not a regular file", self.fifo: "not a regular file",
                   self.sandbox.home: "Is a directory",
                   self.missing: "No such file or directory"}
        cases = [[self.log, bad] for bad in reasons] + [
            [self.missing, self.log, self.fifo, "/dev/zero", self.log, self.sandbox.home]]
        for inputs in cases:
            with self.subTest(inputs=inputs):
                result = self.run_with_inputs(inputs)

                self.assertEqual((result.returncode, result.stdout), (1, b""))
                details = [f"{name}: {reasons[name]}" for name in inputs if name in reasons]
                self.assertEqual(result.stderr.decode(), "".join(
                    f"Statvane: {line}\n" for line in [MISSING_FILES] + details))
                self.assertFalse(os.path.exists(self.output))

    def test_ctrl_c_while_a_large_file_is_read_ends_the_run_at_once(self):
        large = self.sandbox.path("large.log")
        with open(large, "wb") as file:
            file.truncate(1 << 30)  # sparse: costs no disk, takes seconds to read
        self.sandbox.write_profiles([profile("Large", (), [large], self.output)])
        run = self.sandbox.start("--batch", "Large")
        try:
            self.wait_until_open(run.pid, large)
            run.send_signal(signal.SIGINT)
            interrupted = time.monotonic()
            _, error = run.communicate(timeout=RUN_TIME_LIMIT)
            took = time.monotonic() - interrupted
        finally:
            run.kill()
            run.wait()

        self.assertEqual((run.returncode, error), (1, b"Statvane: The analysis was cancelled.\n"))
        self.assertLess(took, 1.0)
        self.assertFalse(os.path.exists(self.output))

    def wait_until_open(self, pid, file):
        folder = f"/proc/{pid}/fd"
        deadline = time.monotonic() + RUN_TIME_LIMIT
        while time.monotonic() < deadline:
            try:
                if any(os.readlink(os.path.join(folder, fd)) == file
                       for fd in os.listdir(folder)):
                    return
            except FileNotFoundError:
                pass  # a descriptor closed while listed
            time.sleep(0.0005)
        self.fail(f"{file} was never opened")


def compressed(program, data):
    return subprocess.run([program, "-c"], input=data, capture_output=True, check=True).stdout


class CompressedLogs(BatchTestCase):
    """Rotated logs compressed with the system's gzip, bzip2, xz and zstd are
    read as they decompress: the report is that of the same logs uncompressed."""

    # (name in the rotated folder, how it is made from its plain copy, lines),
    # in the order a pattern reads them: oldest first
    ROTATED = [
        ("access.log.5.zst", lambda log: compressed("zstd", log), 200),
        ("access.log.4.xz", lambda log: compressed("xz", log), 250),
        ("access.log.3.bz2", lambda log: compressed("bzip2", log), 300),
        # two members, as from appending to a .gz file, and zero bytes after
        # them, as a tape block pads it
        ("access.log.2.gz", lambda log: compressed("gzip", log[:5000]) +
         compressed("gzip", log[5000:]) + bytes(512), 400),
        ("access.log.1", lambda log: log, 500),
        ("access.log", lambda log: log, 700),
    ]

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        plain, rotated = cls.sandbox.path("plain"), cls.sandbox.path("rotated")
        os.makedirs(plain)
        os.makedirs(rotated)
        for number, (name, _, lines) in enumerate(cls.ROTATED):
            generate(os.path.join(plain, name), number + 1, lines)
        append(os.path.join(plain, "access.log.2.gz"), b"".join(ODD_LINES))
        append(os.path.join(plain, "access.log.3.bz2"),
               crlf_lines(["10.4.4.4 no final line feed"])
               + b"10.4.4.5 - - [09/Nov/2026:12:00:09 +0000] \"GET /last HTTP/1.0\"")
        for name, make, _ in cls.ROTATED:
            write(os.path.join(rotated, name), make(read(os.path.join(plain, name))))
        os.makedirs(cls.sandbox.path("broken"))
        cls.truncated = cls.sandbox.path("broken", "access.log.4.gz")
        gzipped = compressed("gzip", read(os.path.join(plain, "access.log")))
        write(cls.truncated, gzipped[:len(gzipped) // 2])
        cls.output = cls.sandbox.path("compressed.txt")

    def run_report(self, inputs):
        self.sandbox.write_profiles([profile("Rotated", ANALYSES, inputs, self.output)])
        self.use_settings(**FILTERS)
        return self.sandbox.run("--batch", "Rotated")

    def test_compressed_logs_give_the_report_of_the_plain_logs(self):
        # The model orders the plain copies by their names as the program must.
        plain_pattern = [self.sandbox.path("plain", "*access.log*")]
        self.sandbox.write_profiles([profile("Rotated", ANALYSES, plain_pattern, self.output)])
        self.use_settings(**FILTERS)
        expected = self.sandbox.reference("Rotated")
        rotated = self.sandbox.path("rotated")
        entries = [os.path.join(rotated, name) for name, _, _ in self.ROTATED]
        cases = [("by name", entries), ("by a pattern", [os.path.join(rotated, "*access.log*")])]
        # The logs with lines that are not in the combined layout, in any order.
        told = sorted([
            layout_notice(os.path.join(rotated, "access.log.2.gz"), ODD_PIECES_OUT_OF_LAYOUT,
                          400 + ODD_PIECES),
            layout_notice(os.path.join(rotated, "access.log.3.bz2"), 2, 300 + 2)])
        for case, inputs in cases:
            with self.subTest(case=case):
                result = self.run_report(inputs)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(sorted(result.stderr.decode().splitlines(keepends=True)), told)
                self.assert_same_report(read(self.output), expected)
                os.remove(self.output)

    def test_a_truncated_gzip_log_is_a_file_that_cannot_be_read(self):
        result = self.run_report([self.sandbox.path("rotated", "access.log"), self.truncated])

        self.assertEqual((result.returncode, result.stdout), (1, b""))
        self.assertEqual(result.stderr.decode(), "".join(
            f"Statvane: {line}\n"
            for line in [MISSING_FILES, f"{self.truncated}: gzip data cut short"]))
        self.assertFalse(os.path.exists(self.output))


class RotatedLogsReadOldestFirst(BatchTestCase):
    """A folder as logrotate leaves it, one day a file, read through a pattern:
    the report's period runs from the oldest day to the newest."""

    # (name, compressing program or None, the day of its lines), oldest first
    ROTATED = [
        ("access.log.5.zst", "zstd", b"04/Dec/2026"),
        ("access.log.4.xz", "xz", b"05/Dec/2026"),
        ("access.log.3.bz2", "bzip2", b"06/Dec/2026"),
        ("access.log.2.gz", "gzip", b"07/Dec/2026"),
        ("access.log.1", None, b"08/Dec/2026"),
        ("access.log", None, b"09/Dec/2026"),
    ]

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = cls.sandbox.path("nginx")
        os.makedirs(cls.folder)
        for name, program, day in cls.ROTATED:
            log = b"".join(dated(b"10.1.1." + str(visitor).encode(), b"GET / HTTP/1.0",
                                 when=day) + b"\n" for visitor in range(3))
            write(os.path.join(cls.folder, name), compressed(program, log) if program else log)

    def test_the_period_runs_from_the_oldest_day_to_the_newest(self):
        output = self.sandbox.path("period.txt")
        for pattern in ("*access.log*", "*.*"):
            with self.subTest(pattern=pattern):
                entry = os.path.join(self.folder, pattern)
                self.sandbox.write_profiles([profile("Period", ("Visitors",), [entry], output)])
                self.use_settings()

                result = self.sandbox.run("--batch", "Period")

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(read(output).split(b"\r\n")[1],
                                 b"Report Profile - 04/Dec/2026 to 09/Dec/2026")
                os.remove(output)


class ForeignLayouts(BatchTestCase):
    """Logs in other layouts are analysed as before, and each is told on a
    line of its own with how many of its lines are not in the combined layout."""

    def test_json_and_common_layout_logs_are_told_and_the_report_is_unchanged(self):
        json_log, common_log, combined_log = (self.sandbox.path(name) for name in
                                              ("json.log", "common.log", "combined.log"))
        write(json_log, b"".join(
            b'{"remote_addr":"192.0.2.%d","time_local":"09/Nov/2026:12:00:0%d +0000",'
            b'"request":"GET /p%d HTTP/1.1","status":200,"body_bytes_sent":512,'
            b'"http_referer":"http://ref.example.org/","http_user_agent":"curl/8.5"}\n'
            % (n, n, n) for n in range(3)))
        write(common_log, b"\n".join(
            b'10.2.2.%d - - [09/Nov/2026:12:00:0%d +0000] "GET /c%d HTTP/1.0" 200 512'
            % (n, n, n) for n in range(4)) + b"\n\n" + PLAIN_LINE)
        write(combined_log, PLAIN_LINE * 2)
        output = self.sandbox.path("foreign.txt")
        self.sandbox.write_profiles([profile(
            "Foreign", ANALYSES, [json_log, combined_log, common_log], output)])
        self.use_settings(**FILTERS)

        result = self.sandbox.run("--batch", "Foreign")

        self.assertEqual((result.returncode, result.stdout), (0, b""))
        self.assertEqual(result.stderr.decode(),
                         layout_notice(json_log, 3, 3) + layout_notice(common_log, 4, 5))
        self.assert_same_report(read(output), self.sandbox.reference("Foreign"))


if __name__ == "__main__":
    test_program.main(__doc__, sys.modules[__name__])
