#!/usr/bin/env python3
"""End-to-end tests of what `statvane --batch` does on the network: the bytes
figure asked of a real web server (directly, through tinyproxy with Basic
authorisation, and of a server that never answers), of a secure site over TLS
(directly and through tinyproxy's tunnel, with a trusted certificate and
with untrusted ones), and e-mail delivery of the written report to aiosmtpd
and to scripted mail servers that refuse or stay silent. Every peer listens on
a free loopback port; no traffic leaves it.

Usage: network_test.py --statvane PATH [unittest arguments, e.g. a class name]
"""
import json
import os
import re
import shutil
import signal
import socket
import socketserver
import subprocess
import sys
import tempfile
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)
import test_program  # noqa: E402
from batch_test import PRODUCT_KEY, Sandbox, crlf_lines, dated, read, write  # noqa: E402

SMTP_STORE_SERVER = os.path.join(HERE, "..", "peers", "smtp_store_server.py")
MAKE_TEST_CERTIFICATES = os.path.join(HERE, "..", "peers", "make_test_certificates.sh")
WEB_FILE_SERVER = os.path.join(HERE, "..", "peers", "web_file_server.py")
SYSTEM_PYTHON = "/usr/bin/python3"  # the interpreter that Debian's aiosmtpd belongs to
STATVANE = None  # set from the command line
RUN_TIME_LIMIT = 60
# The bytes step gives up on a site that has not answered for 30 seconds.
SILENT_PAGE_RUN_LIMIT = 90
# The bytes step asks for this many pages at once.
PAGES_AT_ONCE = 16
PEER_START_LIMIT = 10
PEER_STOP_LIMIT = 5
SCRIPT_READ_LIMIT = 10
# Ctrl+C ends the mail wait at once.
INTERRUPT_EXIT_LIMIT = 1
# Well past the answers of a DNS server on loopback, well before a look-up
# that is never answered gives up (three seconds).
ANSWERED_BEFORE_CTRL_C = 1
# Long enough that a run it ends has not ended by itself.
MAIL_TIMEOUT = "20"

NOT_SELECTED = "Not Selected"
HITS_OF_5000_BYTES = ["/a.html"] * 3 + ["/b.html"]  # pages of 1000 and 2000 bytes: 5000 in all
TOTAL_5000 = ("5000", "4.8828125", "0.00476837158203125")
AVERAGE_2500 = ("2500", "2.44140625", "0.00238418579101562")
MAIL_SETTINGS_ERROR = ("Statvane: An error has occured.  Please make sure your mail settings "
                       "are correct under the Settings option off the Tools menu.")


def require_peer(*command):
    """Skips the test class when a peer program is missing; fails instead under CI."""
    found = shutil.which(command[0]) and subprocess.run(
        command, capture_output=True, timeout=PEER_START_LIMIT).returncode == 0
    if found:
        return
    text = "peer not available: " + " ".join(command)
    if os.environ.get("CI") == "true":
        raise AssertionError(text)
    raise unittest.SkipTest(text)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Peer:
    """A server program started on a loopback port, ended by its process id."""

    def __init__(self, command, port, cwd=None, log=None):
        self.log = open(log or os.devnull, "ab")
        self.process = subprocess.Popen(command, cwd=cwd, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=self.log)
        deadline = time.monotonic() + PEER_START_LIMIT
        while not self.accepts(port):
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise AssertionError(f"{command[0]} did not start listening on port {port}")
            time.sleep(0.05)

    @staticmethod
    def accepts(port):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return True
        except OSError:
            return False

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(PEER_STOP_LIMIT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(PEER_STOP_LIMIT)
        self.log.close()


class ScriptedServer(socketserver.ThreadingTCPServer):
    """A server on a free loopback port that runs script(connection, stopping)
    for every connection, and remembers how many connections it accepted."""

    def __init__(self, script):
        self.script = script
        self.stopping = threading.Event()
        self.connections = 0
        super().__init__(("127.0.0.1", 0), ScriptedServer.Handler)
        self.port = self.server_address[1]
        self.thread = threading.Thread(target=self.serve_forever, daemon=True)
        self.thread.start()

    class Handler(socketserver.BaseRequestHandler):
        def handle(self):
            self.server.connections += 1
            self.request.settimeout(SCRIPT_READ_LIMIT)
            try:
                self.server.script(self.request, self.server.stopping)
            except OSError:
                pass  # the client went away or stayed silent

    def stop(self):
        self.stopping.set()
        self.shutdown()
        self.server_close()  # waits for the connection threads
        self.thread.join(PEER_STOP_LIMIT)


def accept_and_stay_silent(connection, stopping):
    stopping.wait(SILENT_PAGE_RUN_LIMIT)


class ScriptedMailServer:
    """An SMTP server that answers each command from its table of replies; at
    a reply of None it falls silent and keeps the connection open until it is
    stopped. It takes a message after DATA up to its "." line, which counts as
    a command of its own, and records the commands it received."""

    ACCEPTING = {b"HELO": b"250 scripted", b"EHLO": b"250 scripted", b"MAIL": b"250 ok",
                 b"RCPT": b"250 ok", b"DATA": b"354 go on", b".": b"250 queued",
                 b"QUIT": b"221 bye"}

    def __init__(self, **changes):
        self.replies = dict(self.ACCEPTING)
        self.replies.update({verb.encode(): reply for verb, reply in changes.items()})
        self.commands = []
        self.server = ScriptedServer(self.converse)

    def verbs(self):
        return [command.split(b" ")[0].split(b":")[0].upper() for command in self.commands]

    def converse(self, connection, stopping):
        connection.sendall(b"220 scripted mail server\r\n")
        in_message = False
        for line in connection.makefile("rb"):
            command = line.rstrip(b"\r\n")
            if in_message and command != b".":
                continue
            in_message = False
            self.commands.append(command)
            verb = command[:4].upper()
            reply = self.replies.get(verb, b"500 unknown")
            if reply is None:
                stopping.wait(SILENT_PAGE_RUN_LIMIT)
                return
            connection.sendall(reply + b"\r\n")
            in_message = reply.startswith(b"354")
            if verb == b"QUIT":
                return


def refusing_mail_server():
    """Refuses every sender with 550."""
    return ScriptedMailServer(MAIL=b"550 sender refused")


def wait_until(condition, limit=RUN_TIME_LIMIT):
    deadline = time.monotonic() + limit
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting")
        time.sleep(0.02)


def settings_text(values, top_pages=()):
    """The settings file: string values under the Settings key and the top pages filter."""

    def escaped(text):
        return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'

    lines = ["REGEDIT4", "", "[" + PRODUCT_KEY + "\\Settings]"]
    lines += [escaped(name) + "=" + escaped(value) for name, value in values.items()]
    lines += ["", "[" + PRODUCT_KEY + "\\TopPages]"]
    lines += [f'"{position}"=' + escaped(entry) for position, entry in enumerate(top_pages)]
    return crlf_lines(lines + [""])


def report_profile(name, inputs, output, analyses=("Pages", "Bytes"), recipients=None):
    """(reports.dat section, files.dat section) of a report written to a file,
    mailed when recipients are given."""
    flags = [f"{key}={int(key in analyses)}" for key in ("Pages", "Bytes", "Visitors", "DNS")]
    report = [f"[{name}]", *flags, "Referrers=0", "Browser=0", "File=1",
              f"Output={output}", f"Total Options={len(analyses)}",
              f"E-Mail={int(recipients is not None)}", f"E-Mail Address={recipients or ''}"]
    files = [f"[{name}]"] + [f"File {n}={entry}" for n, entry in enumerate(inputs)]
    return report, files


def log_of(pages, visitors=(b"10.0.0.1",)):
    return b"".join(dated(visitors[n % len(visitors)], b"GET " + page.encode() + b" HTTP/1.0")
                    + b"\r\n" for n, page in enumerate(pages))


def byte_lines(report):
    """The six lines of a text report that give the byte figures."""
    lines = report.decode().split("\r\n")
    first = next(n for n, line in enumerate(lines) if line.startswith("Total Bytes Transferred:"))
    return lines[first:first + 6]


def figure_lines(figures):
    """The six byte lines for the figures: total, kilobytes, megabytes, then their averages."""
    units = ("   - in Kilobytes (K):  ", "   - in Megabytes (MB):  ")
    labels = ("Total Bytes Transferred:  ", *units, "Average Bytes Transferred: ", *units)
    return [label + figure for label, figure in zip(labels, figures, strict=True)]


def top_page_rows(report):
    lines = report.decode().split("\r\n")
    first = lines.index("------> Top Pages <------") + 3
    return [line.rsplit(",", 2)[0] for line in lines[first:] if line]


def logged_head_requests(site_log, run):
    """run()'s result and the HEAD requests that the web site logged in
    site_log while it ran, sorted (the bytes step sends several at once)."""
    before = os.path.getsize(site_log)
    result = run()
    with open(site_log, "rb") as log:
        log.seek(before)
        return result, sorted(re.findall(rb'"HEAD (\S+) HTTP/1\.[01]"', log.read()))


class NetworkTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory(prefix="statvane-network-")
        cls.sandbox = Sandbox(cls.temp.name)
        cls.peers = []

    @classmethod
    def tearDownClass(cls):
        for peer in reversed(cls.peers):
            peer.stop()
        cls.temp.cleanup()

    @classmethod
    def start_peer(cls, peer):
        cls.peers.append(peer)
        return peer

    @classmethod
    def start_tinyproxy(cls, more_config=""):
        """tinyproxy on loopback with Basic authorisation (user, password),
        logging each request to cls.proxy_log; its port is cls.proxy_port."""
        require_peer("tinyproxy", "-v")
        cls.proxy_log = cls.sandbox.path("proxy.log")
        conf = cls.sandbox.path("tinyproxy.conf")
        cls.proxy_port = free_port()
        write(conf, (f"Port {cls.proxy_port}\nListen 127.0.0.1\nAllow 127.0.0.1\n"
                     f"BasicAuth user password\n{more_config}Timeout 30\nMaxClients 10\n"
                     f'LogLevel Connect\nLogFile "{cls.proxy_log}"\n').encode())
        cls.start_peer(Peer(["tinyproxy", "-d", "-c", conf], cls.proxy_port))

    def environment(self, changes):
        """The resolver library reports a connection unless the changes say
        otherwise."""
        settings = dict(os.environ, STATVANE_HOME=self.sandbox.home,
                        STATVANE_SETTINGS=self.sandbox.settings, STATVANE_DNS_SERVER="127.0.0.1:9")
        settings.pop("STATVANE_OFFLINE", None)
        settings.update(changes)
        return settings

    def run_statvane(self, report, limit=RUN_TIME_LIMIT, **environment):
        return subprocess.run([STATVANE, "--batch", report], cwd=self.sandbox.root,
                              env=self.environment(environment), capture_output=True,
                              timeout=limit)

    def start_statvane(self, report, **environment):
        process = subprocess.Popen([STATVANE, "--batch", report], cwd=self.sandbox.root,
                                   env=self.environment(environment), stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)

        def end():
            if process.returncode is None:  # not yet waited for by the test
                process.kill()
                process.communicate(timeout=PEER_STOP_LIMIT)

        self.addCleanup(end)
        return process

    def write_report(self, name, pages_per_log, settings, top_pages=(), visitors=(b"10.0.0.1",),
                     **profile):
        logs = []
        for number, pages in enumerate(pages_per_log):
            logs.append(self.sandbox.path(f"{name} {number}.log"))
            write(logs[-1], log_of(pages, visitors))
        output = self.sandbox.path(name + ".txt")
        self.sandbox.write_profiles([report_profile(name, logs, output, **profile)])
        write(self.sandbox.settings, settings_text(settings, top_pages))
        return output


class SiteTestCase(NetworkTestCase):
    """Python's web server over a folder holding a.html (1000 bytes) and b.html
    (2000 bytes); its request log tells which pages were asked for."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        site = cls.sandbox.path("site")
        os.makedirs(site)
        write(os.path.join(site, "a.html"), b"a" * 1000)
        write(os.path.join(site, "b.html"), b"b" * 2000)
        cls.site_log = cls.sandbox.path("site.log")
        port = free_port()
        cls.start_peer(Peer([sys.executable, "-u", "-m", "http.server", "--bind", "127.0.0.1",
                             str(port)], port, cwd=site, log=cls.site_log))
        cls.site = f"http://127.0.0.1:{port}"

    def site_requests(self, run):
        return logged_head_requests(self.site_log, run)


class BytesFromWebServer(SiteTestCase):
    # (report name, pages of each log, top pages filter, analyses, environment,
    #  the six figures, the pages asked for, sorted)
    CASES = [
        ("One Log", [HITS_OF_5000_BYTES], [], ("Pages", "Bytes"), {}, TOTAL_5000 + TOTAL_5000,
         ["/a.html", "/b.html"]),
        ("Two Logs", [["/a.html", "/b.html", "/a.html"], ["/a.html"]], [], ("Pages", "Bytes"), {},
         TOTAL_5000 + AVERAGE_2500, ["/a.html", "/b.html"]),
        ("Missing Page", [["/missing.html"] + HITS_OF_5000_BYTES + ["/missing.html"]], [],
         ("Pages", "Bytes"), {}, TOTAL_5000 + TOTAL_5000, ["/a.html", "/b.html", "/missing.html"]),
        ("Filtered Page", [HITS_OF_5000_BYTES], ["b.html"], ("Pages", "Bytes"), {},
         TOTAL_5000 + TOTAL_5000, ["/a.html", "/b.html"]),
        ("Bytes Without Pages", [HITS_OF_5000_BYTES], [], ("Bytes",), {}, (NOT_SELECTED,) * 6, []),
        ("Offline", [HITS_OF_5000_BYTES], [], ("Pages", "Bytes"), {"STATVANE_OFFLINE": "1"},
         (NOT_SELECTED,) * 6, []),
    ]

    def test_byte_figures(self):
        for name, logs, top_pages, analyses, environment, figures, asked in self.CASES:
            with self.subTest(report=name):
                output = self.write_report(name, logs, {"Web Site": self.site}, top_pages,
                                           analyses=analyses)

                result, requests = self.site_requests(
                    lambda: self.run_statvane(name, **environment))

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                report = read(output)
                self.assertEqual(byte_lines(report), figure_lines(figures))
                self.assertEqual(requests, [page.encode() for page in asked])
                if "Pages" in analyses:
                    rows = [self.site + page for page in dict.fromkeys(sum(logs, []))
                            if not any(entry in page for entry in top_pages)]
                    self.assertEqual(sorted(top_page_rows(report)), sorted(rows))


class BytesThroughProxy(SiteTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.start_tinyproxy()

    def proxied_requests(self, run):
        """The HEAD requests the proxy logged while run() ran, sorted."""
        before = os.path.getsize(self.proxy_log)
        result = run()
        with open(self.proxy_log, "rb") as log:
            log.seek(before)
            return result, sorted(re.findall(rb"Request \(file descriptor \d+\): HEAD (\S+) ",
                                             log.read()))

    def test_byte_figures_through_the_proxy(self):
        port = str(self.proxy_port)
        pages = [b"/a.html", b"/b.html"]
        through_proxy = [self.site.encode() + page for page in pages]
        # (case, "Server Address", "Port", "Max Size" (the password), the six figures,
        #  the addresses the proxy was asked for, the pages that reached the site)
        cases = [
            ("Port In Address", "127.0.0.1:" + port, "1", "password", TOTAL_5000 * 2,
             through_proxy, pages),
            ("Port Setting", "127.0.0.1", port, "password", TOTAL_5000 * 2, through_proxy, pages),
            ("Wrong Password", "127.0.0.1:" + port, "", "wrong", ("0",) * 6, through_proxy, []),
            ("No Port At All", "127.0.0.1", "", "password", ("0",) * 6, [], []),
        ]
        for name, address, proxy_port, password, figures, proxied, reached in cases:
            with self.subTest(case=name):
                output = self.write_report(name, [HITS_OF_5000_BYTES], {
                    "Web Site": self.site, "Server Address": address, "Port": proxy_port,
                    "User Name": "user", "Max Size": password})

                (result, reached_site), asked_of_proxy = self.proxied_requests(
                    lambda: self.site_requests(lambda: self.run_statvane(name)))

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(byte_lines(read(output)), figure_lines(figures))
                self.assertEqual(asked_of_proxy, proxied)
                self.assertEqual(reached_site, reached)


class SecureSiteTestCase(NetworkTestCase):
    """The site of SiteTestCase over TLS, twice: with a certificate for localhost
    and 127.0.0.1, and with one for another name, both from a test authority
    that runs trust through STATVANE_CA_FILE. Their request logs tell which
    pages were asked for."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        certificates = cls.sandbox.path("certificates")
        subprocess.run([MAKE_TEST_CERTIFICATES, certificates], check=True,
                       timeout=RUN_TIME_LIMIT)
        cls.authority = os.path.join(certificates, "ca.pem")
        site = cls.sandbox.path("site")
        os.makedirs(site)
        write(os.path.join(site, "a.html"), b"a" * 1000)
        write(os.path.join(site, "b.html"), b"b" * 2000)
        cls.ports, cls.site_logs = {}, {}
        for certificate in ("server", "wrongname"):
            port = free_port()
            cls.site_logs[port] = cls.sandbox.path(certificate + ".log")
            cls.start_peer(Peer([sys.executable, "-u", WEB_FILE_SERVER, str(port),
                                 os.path.join(certificates, certificate + ".pem"),
                                 os.path.join(certificates, certificate + ".key")],
                                port, cwd=site, log=cls.site_logs[port]))
            cls.ports[certificate] = port

    def run_trusting(self, report, authority=None):
        """A run that trusts the test authority, or the one given ("" for none)."""
        return self.run_statvane(report, STATVANE_CA_FILE=(
            self.authority if authority is None else authority))

    def site_requests(self, port, run):
        return logged_head_requests(self.site_logs[port], run)


class BytesFromSecureSite(SecureSiteTestCase):
    def test_byte_figures_of_a_trusted_site(self):
        port = self.ports["server"]
        for name, host in (("By Name", "localhost"), ("By Address", "127.0.0.1")):
            with self.subTest(case=name):
                output = self.write_report(name, [HITS_OF_5000_BYTES],
                                           {"Web Site": f"https://{host}:{port}"})

                result, requests = self.site_requests(port, lambda: self.run_trusting(name))

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(byte_lines(read(output)), figure_lines(TOTAL_5000 * 2))
                self.assertEqual(requests, [b"/a.html", b"/b.html"])

    def test_untrusted_site_adds_nothing_and_is_told_once(self):
        # (case, certificate, STATVANE_CA_FILE, a part of the reason, the lines told first)
        missing = self.sandbox.path("no-such-authority.pem")
        cases = [
            ("Wrong Name", "wrongname", None, "host name", []),
            ("Unknown Authority", "server", "", "", []),
            ("Missing Authority File", "server", missing, "",
             [f"Statvane: STATVANE_CA_FILE names {missing}, which could not be read as PEM "
              "certificates: No such file or directory."]),
        ]
        for name, certificate, authority, reason, told_first in cases:
            with self.subTest(case=name):
                port = self.ports[certificate]
                output = self.write_report(name, [HITS_OF_5000_BYTES],
                                           {"Web Site": f"https://localhost:{port}"})

                result, requests = self.site_requests(
                    port, lambda: self.run_trusting(name, authority))

                self.assertEqual(result.returncode, 0)
                *told, line = result.stderr.decode().splitlines()
                self.assertEqual(told, told_first)
                self.assertRegex(line, rf"\AStatvane: The certificate of localhost:{port} could "
                                       r"not be verified: .+\. Its pages add nothing to the "
                                       r"bytes transferred\.\Z")
                self.assertIn(reason, line)
                self.assertEqual(byte_lines(read(output)), figure_lines(("0",) * 6))
                self.assertEqual(requests, [])


class BytesThroughSecureTunnel(SecureSiteTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.start_tinyproxy(f"ConnectPort {cls.ports['server']}\n")

    def test_byte_figures_through_the_tunnel(self):
        port = self.ports["server"]
        # (case, "Max Size" (the password), the six figures, the pages that reached the site)
        cases = [
            ("Tunnel", "password", TOTAL_5000 * 2, [b"/a.html", b"/b.html"]),
            ("Tunnel Wrong Password", "wrong", ("0",) * 6, []),
        ]
        for name, password, figures, reached in cases:
            with self.subTest(case=name):
                output = self.write_report(name, [HITS_OF_5000_BYTES], {
                    "Web Site": f"https://localhost:{port}",
                    "Server Address": f"127.0.0.1:{self.proxy_port}", "User Name": "user",
                    "Max Size": password})
                before = os.path.getsize(self.proxy_log)

                result, requests = self.site_requests(port, lambda: self.run_trusting(name))

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(byte_lines(read(output)), figure_lines(figures))
                self.assertEqual(requests, reached)
                with open(self.proxy_log, "rb") as log:
                    log.seek(before)
                    asked = re.findall(rb"Request \(file descriptor \d+\): (\S+ \S+) ", log.read())
                self.assertEqual(asked, [b"CONNECT localhost:%d" % port] * 2)


class BytesFromSilentServer(NetworkTestCase):
    """A site that accepts connections and never answers, with 131 pages:
    asked one after another, each for 30 seconds, they would take an hour."""

    PAGES = [f"/never{number}.html" for number in range(131)]

    def setUp(self):
        self.server = ScriptedServer(accept_and_stay_silent)
        self.addCleanup(self.server.stop)
        self.output = self.write_report("Silent", [self.PAGES],
                                        {"Web Site": f"http://127.0.0.1:{self.server.port}"})
        if os.path.exists(self.output):
            os.remove(self.output)

    def test_pages_of_a_server_that_never_answers_add_nothing(self):
        result = self.run_statvane("Silent", limit=SILENT_PAGE_RUN_LIMIT)

        self.assertEqual((result.returncode, result.stderr), (0, b""))
        self.assertEqual(byte_lines(read(self.output)), figure_lines(("0",) * 6))
        # The first pages only: none ends before the step gives up.
        self.assertEqual(self.server.connections, PAGES_AT_ONCE)

    def test_ctrl_c_ends_the_requests_at_once(self):
        process = self.start_statvane("Silent")
        wait_until(lambda: self.server.connections == PAGES_AT_ONCE)

        process.send_signal(signal.SIGINT)
        try:
            stdout, stderr = process.communicate(timeout=INTERRUPT_EXIT_LIMIT)
        except subprocess.TimeoutExpired:
            self.fail(f"still running {INTERRUPT_EXIT_LIMIT} s after Ctrl+C")

        self.assertEqual((process.returncode, stdout, stderr),
                         (1, b"", b"Statvane: The analysis was cancelled.\n"))
        self.assertFalse(os.path.exists(self.output))
        self.assertEqual(self.server.connections, PAGES_AT_ONCE)


class MailDelivery(NetworkTestCase):
    RECIPIENTS = "a@example.com ; b@example.com"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        require_peer(SYSTEM_PYTHON, "-c", "import aiosmtpd")
        cls.mailbox = cls.sandbox.path("mailbox")
        os.makedirs(cls.mailbox)
        cls.smtp_port = free_port()
        cls.start_peer(Peer([SYSTEM_PYTHON, SMTP_STORE_SERVER, str(cls.smtp_port), cls.mailbox],
                            cls.smtp_port))

    def write_mailed_report(self, server):
        return self.write_report("Mailed", [HITS_OF_5000_BYTES], {
            "Server": server, "From": "statvane@example.org", "Subject": "Weekly figures",
            "Reply-To": "replies@example.org"}, analyses=("Pages",), recipients=self.RECIPIENTS)

    def mail_report(self, server, limit=RUN_TIME_LIMIT, **environment):
        output = self.write_mailed_report(server)
        return output, self.run_statvane("Mailed", limit=limit, **environment)

    def stored_messages(self):
        names = sorted(name for name in os.listdir(self.mailbox) if name.endswith(".json"))
        return [json.loads(read(os.path.join(self.mailbox, name))) for name in names]

    def test_report_arrives_as_the_one_attachment_of_one_message(self):
        output, result = self.mail_report(f"127.0.0.1:{self.smtp_port}")

        self.assertEqual((result.returncode, result.stderr, result.stdout), (0, b"", b""))
        [stored] = self.stored_messages()
        self.assertEqual(stored["mail_from"], "statvane@example.org")
        self.assertEqual(stored["rcpt_tos"], ["a@example.com", "b@example.com"])
        message = stored["message"]
        self.assertEqual((message["is_multipart"], message["defects"]), (True, []))
        headers = message["headers"]
        self.assertEqual((headers["To"], headers["From"], headers["Subject"], headers["Reply-To"]),
                         ("a@example.com, b@example.com", "statvane@example.org",
                          "Weekly figures", "replies@example.org"))
        self.assertRegex(headers["Message-ID"], r"\A<\d+\.\d+\.[0-9a-f]{16}@example\.org>\Z")
        self.assertEqual(list(headers)[list(headers).index("Date") + 1], "Message-ID")
        [attachment] = message["attachments"]
        self.assertEqual(attachment["filename"], "Mailed.txt")
        self.assertEqual(bytes.fromhex(attachment["data_hex"]), read(output))

    def test_desktop_program_told_to_close_ends_once_the_report_is_mailed(self):
        self.write_mailed_report(f"127.0.0.1:{self.smtp_port}")
        runtime = self.sandbox.path("runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        before = set(os.listdir(self.mailbox))
        result = subprocess.run([STATVANE, "mailed", "close"], cwd=self.sandbox.root,
                                env=self.environment({"QT_QPA_PLATFORM": "offscreen",
                                                      "XDG_RUNTIME_DIR": runtime}),
                                capture_output=True, timeout=RUN_TIME_LIMIT)
        self.assertEqual(result.returncode, 0, result.stderr)
        added = [name for name in os.listdir(self.mailbox) if name not in before]
        self.assertEqual(len([name for name in added if name.endswith(".json")]), 1)
        for name in added:  # the other tests count the messages they send
            os.remove(os.path.join(self.mailbox, name))

    def assert_failed_delivery(self, result, message=None):
        self.assertEqual((result.returncode, result.stdout), (1, b""))
        errors = result.stderr.decode().splitlines()
        self.assertTrue(errors, "no message on standard error")
        for line in errors:
            self.assertRegex(line, r"\AStatvane: \S")
        if message is not None:
            self.assertIn(message, errors)

    def test_deliveries_that_fail_exit_with_1(self):
        silent = ScriptedServer(accept_and_stay_silent)
        self.addCleanup(silent.stop)
        # (case, "Server" setting, environment, the message expected among the lines)
        cases = [
            ("nothing listening", f"127.0.0.1:{free_port()}", {}, MAIL_SETTINGS_ERROR),
            ("silent server", f"127.0.0.1:{silent.port}", {"STATVANE_MAIL_TIMEOUT": "3"}, None),
            ("empty server", "", {}, "Statvane: No mail server is set.  Please enter one on the "
             "Server Settings tab of Tools, Options."),
        ]
        stored_before = self.stored_messages()
        for name, server, environment, message in cases:
            with self.subTest(case=name):
                output, result = self.mail_report(server, **environment)
                self.assert_failed_delivery(result, message)
                self.assertTrue(os.path.exists(output), "the report is written before mailing")
        self.assertEqual(silent.connections, 1)
        self.assertEqual(self.stored_messages(), stored_before)

    def test_refused_sender_is_followed_by_quit(self):
        refusing = refusing_mail_server()
        self.addCleanup(refusing.server.stop)

        _, result = self.mail_report(f"127.0.0.1:{refusing.server.port}")

        self.assert_failed_delivery(result)
        self.assertEqual(refusing.verbs(), [b"HELO", b"MAIL", b"QUIT"])

    def test_no_connection_sends_nothing(self):
        refusing = refusing_mail_server()
        self.addCleanup(refusing.server.stop)

        _, result = self.mail_report(f"127.0.0.1:{refusing.server.port}", STATVANE_OFFLINE="1")

        self.assert_failed_delivery(result, "Statvane: Statvane could not process your request "
                                            "since you are not connected to the Internet.")
        self.assertEqual(refusing.server.connections, 0)

    def test_accepted_message_whose_quit_goes_unanswered_is_delivered(self):
        server = ScriptedMailServer(QUIT=None)
        self.addCleanup(server.server.stop)

        _, result = self.mail_report(f"127.0.0.1:{server.server.port}",
                                     STATVANE_MAIL_TIMEOUT=MAIL_TIMEOUT)

        self.assertEqual((result.returncode, result.stderr, result.stdout), (0, b"", b""))
        self.assertEqual(server.verbs(), [b"HELO", b"MAIL", b"RCPT", b"RCPT", b"DATA", b".",
                                          b"QUIT"])

    def test_ctrl_c_ends_the_mail_wait_at_once(self):
        silent = ScriptedServer(accept_and_stay_silent)
        self.addCleanup(silent.stop)
        quit_unanswered = ScriptedMailServer(QUIT=None)
        self.addCleanup(quit_unanswered.server.stop)
        # (case, server's port, when Ctrl+C comes, exit status, lines on standard error)
        cases = [
            ("silent server", silent.port, lambda: silent.connections == 1, 1,
             ["Statvane: The mail delivery was cancelled.",
              "Statvane: The report could not be handed to the mail server."]),
            ("message accepted, QUIT unanswered", quit_unanswered.server.port,
             lambda: b"QUIT" in quit_unanswered.verbs(), 0,
             ["Statvane: The report had already been handed to the mail server."]),
        ]
        for name, port, waiting, status, errors in cases:
            with self.subTest(case=name):
                self.write_mailed_report(f"127.0.0.1:{port}")
                process = self.start_statvane("Mailed", STATVANE_MAIL_TIMEOUT=MAIL_TIMEOUT)
                wait_until(waiting)

                process.send_signal(signal.SIGINT)
                try:
                    stdout, stderr = process.communicate(timeout=INTERRUPT_EXIT_LIMIT)
                except subprocess.TimeoutExpired:
                    self.fail(f"still running {INTERRUPT_EXIT_LIMIT} s after Ctrl+C")

                self.assertEqual((process.returncode, stdout), (status, b""))
                self.assertEqual(stderr.decode().splitlines(), errors)


class DnsServerSetting(NetworkTestCase):
    """STATVANE_DNS_SERVER in a report that looks visitors up: dnsmasq on
    loopback knows 10.0.0.1 and nothing else."""

    VISITORS = (b"10.0.0.1", b"10.0.0.2")
    BAD_VALUES = ["abc", "127.0.0.1", "127.0.0.1:0", "127.0.0.1:99999", "host.example:53",
                  "::1:53"]

    def setUp(self):
        self.dns_log = os.path.join(self.sandbox.home, "dns.log")
        if os.path.exists(self.dns_log):
            os.remove(self.dns_log)
        self.output = self.write_report("Looked Up", [["/a.html", "/b.html"]], {},
                                        visitors=self.VISITORS, analyses=("Visitors", "DNS"))
        if os.path.exists(self.output):
            os.remove(self.output)

    def dns_log_state(self):
        """The cache's bytes and the identity of its file, or None without one."""
        if not os.path.exists(self.dns_log):
            return None
        status = os.stat(self.dns_log)
        return read(self.dns_log), status.st_ino, status.st_mtime_ns

    def test_a_value_that_is_no_address_and_port_ends_the_run_before_anything_is_written(self):
        for cache in (None, b"10.0.0.9\r\n"):
            if cache is not None:
                write(self.dns_log, cache)
            before = self.dns_log_state()
            for value in self.BAD_VALUES:
                with self.subTest(value=value, dns_log=cache):
                    result = self.run_statvane("Looked Up", STATVANE_DNS_SERVER=value)

                    self.assertEqual((result.returncode, result.stdout), (1, b""))
                    self.assertEqual(result.stderr.decode(), (
                        f'Statvane: STATVANE_DNS_SERVER is "{value}", not a numeric address and '
                        "port such as 127.0.0.1:53 or [::1]:53.\n"))
                    self.assertFalse(os.path.exists(self.output))
                    self.assertEqual(self.dns_log_state(), before)

    def test_an_address_and_port_of_either_family_names_the_server_asked(self):
        require_peer("dnsmasq", "--version")
        port = free_port()
        self.start_peer(Peer(["dnsmasq", "--no-daemon", "--conf-file=/dev/null", "--pid-file=",
                              "--log-facility=-", f"--port={port}", "--listen-address=127.0.0.1",
                              "--listen-address=::1", "--bind-interfaces", "--no-resolv",
                              "--no-hosts", "--local=/in-addr.arpa/",
                              "--ptr-record=1.0.0.10.in-addr.arpa,host1.statvane.test"], port))
        for value in (f"127.0.0.1:{port}", f"[::1]:{port}"):
            with self.subTest(value=value):
                if os.path.exists(self.dns_log):
                    os.remove(self.dns_log)

                result = self.run_statvane("Looked Up", STATVANE_DNS_SERVER=value)

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                report = read(self.output)
                self.assertIn(b"host1.statvane.test", report)
                self.assertNotIn(b"10.0.0.1", report)
                self.assertEqual(read(self.dns_log), b"10.0.0.2\r\n")


class ManyLookUps(NetworkTestCase):
    """A report that looks up named, unnamed and never answered addresses: the
    resolver library asks them all at once, and the report and dns.log are
    those of one look-up per visitor in list order."""

    NAMED = [f"10.0.0.{n}" for n in range(1, 31)]
    UNNAMED = [f"10.0.1.{n}" for n in range(1, 31)]
    NEVER_ANSWERED = [f"10.0.2.{n}" for n in range(1, 31)]
    CACHED = "10.0.1.7"

    def start_dnsmasq(self):
        """dnsmasq on loopback, forwarding the never answered to self.silent."""
        self.silent = silent = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(silent.close)
        silent.bind(("127.0.0.1", 0))
        port = free_port()
        records = [f"--ptr-record={'.'.join(reversed(a.split('.')))}.in-addr.arpa,"
                   f"host{a.replace('.', '-')}.statvane.test" for a in self.NAMED]
        self.start_peer(Peer(["dnsmasq", "--no-daemon", "--conf-file=/dev/null", "--pid-file=",
                              "--log-facility=-", f"--port={port}", "--listen-address=127.0.0.1",
                              "--bind-interfaces", "--no-resolv", "--no-hosts",
                              "--local=/in-addr.arpa/",
                              f"--server=/2.0.10.in-addr.arpa/127.0.0.1#{silent.getsockname()[1]}",
                              *records], port))
        return f"127.0.0.1:{port}"

    def model(self):
        """The visitors list and dns.log of one look-up per visitor."""
        visitors = sorted(self.NAMED + self.UNNAMED + self.NEVER_ANSWERED)
        listed = [f"host{v.replace('.', '-')}.statvane.test" if v in self.NAMED else v
                  for v in visitors]
        failures = [v for v in visitors if v not in self.NAMED and v != self.CACHED]
        return listed, "".join(f"{v}\r\n" for v in [self.CACHED] + failures).encode()

    def write_many(self, addresses):
        """The report's output file and dns.log, which holds CACHED."""
        visitors = tuple(v.encode() for v in addresses)
        output = self.write_report("Many", [["/a.html"] * len(visitors)], {},
                                   visitors=visitors, analyses=("Visitors", "DNS"))
        dns_log = os.path.join(self.sandbox.home, "dns.log")
        write(dns_log, f"{self.CACHED}\r\n".encode())
        return output, dns_log

    def test_the_outcome_is_that_of_one_look_up_per_visitor(self):
        require_peer("dnsmasq", "--version")
        server = self.start_dnsmasq()
        output, dns_log = self.write_many(self.NAMED + self.UNNAMED + self.NEVER_ANSWERED)

        result = self.run_statvane("Many", STATVANE_DNS_SERVER=server)

        self.assertEqual((result.returncode, result.stderr), (0, b""))
        lines = read(output).decode().split("\r\n")
        first = lines.index("------> Visitors List <------") + 2
        listed, cache = self.model()
        self.assertEqual(lines[first:first + len(listed) + 1], listed + [""])
        self.assertEqual(read(dns_log), cache)

    def test_ctrl_c_while_the_look_ups_wait_ends_the_run_at_once(self):
        require_peer("dnsmasq", "--version")
        server = self.start_dnsmasq()
        output, dns_log = self.write_many(self.NEVER_ANSWERED)
        run = self.start_statvane("Many", STATVANE_DNS_SERVER=server)
        self.silent.settimeout(RUN_TIME_LIMIT)
        self.silent.recv(4096)  # the look-ups are under way

        run.send_signal(signal.SIGINT)
        interrupted = time.monotonic()
        _, error = run.communicate(timeout=RUN_TIME_LIMIT)
        took = time.monotonic() - interrupted

        self.assertEqual((run.returncode, error), (1, b"Statvane: The analysis was cancelled.\n"))
        self.assertLess(took, 1.0, "well before the look-ups' three seconds")
        self.assertFalse(os.path.exists(output))
        self.assertEqual(read(dns_log), f"{self.CACHED}\r\n".encode(),
                         "no failure is known when Ctrl+C stops the look-ups")

    def test_ctrl_c_keeps_every_failure_answered_in_list_order(self):
        """The first visitor is never answered; every one after it fails at
        once, and Ctrl+C a second later writes all of those."""
        require_peer("dnsmasq", "--version")
        server = self.start_dnsmasq()
        failing = sorted(f"10.0.3.{n}" for n in range(1, 201))
        output, dns_log = self.write_many([self.NEVER_ANSWERED[0]] + failing)
        run = self.start_statvane("Many", STATVANE_DNS_SERVER=server)
        self.silent.settimeout(RUN_TIME_LIMIT)
        self.silent.recv(4096)  # the look-ups are under way
        time.sleep(ANSWERED_BEFORE_CTRL_C)

        run.send_signal(signal.SIGINT)
        _, error = run.communicate(timeout=RUN_TIME_LIMIT)

        self.assertEqual((run.returncode, error), (1, b"Statvane: The analysis was cancelled.\n"))
        self.assertFalse(os.path.exists(output))
        cache = [self.CACHED] + failing
        self.assertEqual(read(dns_log), "".join(f"{v}\r\n" for v in cache).encode())

if __name__ == "__main__":
    test_program.main(__doc__, sys.modules[__name__])
