#!/usr/bin/env python3
"""End-to-end tests of report mails that `statvane --batch` submits with TLS
and a login: aiosmtpd with STARTTLS, with TLS from the first byte and without
TLS, each with certificates of an authority the test makes with openssl and
trusts through STATVANE_CA_FILE. The servers record every byte they receive,
apart by whether it came in clear. Every peer listens on a free loopback port.

Usage: mail_submission_test.py --statvane PATH [unittest arguments]
"""
import json
import os
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)
import test_program  # noqa: E402
import network_test  # noqa: E402
from network_test import (HITS_OF_5000_BYTES, PEER_START_LIMIT, SMTP_STORE_SERVER,  # noqa: E402
                          SYSTEM_PYTHON, NetworkTestCase, Peer, free_port, require_peer)
from batch_test import read  # noqa: E402

MAKE_TEST_CERTIFICATES = os.path.join(HERE, "..", "peers", "make_test_certificates.sh")
RECIPIENTS = "a@example.com"
USER = "reports@example.org"
PASSWORD = "app-password-1"
NOT_HANDED = "Statvane: The report could not be handed to the mail server."
# A run that mails a small report on loopback, start to end: well short of
# the five seconds the client gives a server to answer QUIT.
MAILED_RUN_LIMIT = 2


class MailSubmission(NetworkTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        require_peer(SYSTEM_PYTHON, "-c", "import aiosmtpd")
        require_peer("openssl", "version")
        cls.certificates = cls.sandbox.path("certificates")
        subprocess.run(["sh", MAKE_TEST_CERTIFICATES, cls.certificates], check=True,
                       timeout=PEER_START_LIMIT * 6)
        cls.servers = {
            "starttls": cls.start_server("--starttls", "server"),
            "tls wrong name": cls.start_server("--tls", "wrongname"),
            "no tls": cls.start_server(),
        }

    @classmethod
    def start_server(cls, *tls):
        """A server of its own folder; its port and folder."""
        folder = cls.sandbox.path("mailbox " + " ".join(tls))
        os.makedirs(folder)
        port = free_port()
        options = [tls[0], *(os.path.join(cls.certificates, tls[1] + ending)
                             for ending in (".pem", ".key"))] if tls else []
        cls.start_peer(Peer([SYSTEM_PYTHON, SMTP_STORE_SERVER, str(port), folder, *options,
                             "--login", USER, PASSWORD], port))
        return port, folder

    def setUp(self):
        for _, folder in self.servers.values():
            for name in os.listdir(folder):
                os.remove(os.path.join(folder, name))

    def mail_report(self, server, security, password=PASSWORD):
        port, _ = self.servers[server]
        output = self.write_report("Mailed", [HITS_OF_5000_BYTES], {
            "Server": f"127.0.0.1:{port}", "From": "statvane@example.org",
            "Subject": "Weekly figures", "Mail Security": security, "Mail User Name": USER,
            "Mail Password": password}, analyses=("Pages",), recipients=RECIPIENTS)
        ca_file = os.path.join(self.certificates, "ca.pem")
        return output, self.run_statvane("Mailed", STATVANE_CA_FILE=ca_file)

    def received(self, server, name):
        path = os.path.join(self.servers[server][1], name)
        return read(path) if os.path.exists(path) else b""

    def stored_messages(self, server):
        folder = self.servers[server][1]
        return [json.loads(read(os.path.join(folder, name)))
                for name in sorted(os.listdir(folder)) if name.endswith(".json")]

    def test_report_arrives_through_starttls_with_a_login(self):
        output, result = self.mail_report("starttls", "STARTTLS")

        self.assertEqual((result.returncode, result.stderr, result.stdout), (0, b"", b""))
        [stored] = self.stored_messages("starttls")
        self.assertEqual(stored["rcpt_tos"], [RECIPIENTS])
        [attachment] = stored["message"]["attachments"]
        self.assertEqual(bytes.fromhex(attachment["data_hex"]), read(output))
        clear = self.received("starttls", "clear.bin").split(b"\r\n")
        self.assertEqual((clear[0][:5], clear[1:]), (b"EHLO ", [b"STARTTLS", b""]))
        self.assertIn(b"\r\nAUTH PLAIN ", self.received("starttls", "secure.bin"))

    def test_run_ends_once_the_server_has_answered_quit(self):
        # aiosmtpd ends a TLS session by waiting for the client to close it.
        for server, security in (("starttls", "STARTTLS"), ("no tls", "None")):
            with self.subTest(server=server):
                started = time.monotonic()
                _, result = self.mail_report(server, security)
                elapsed = time.monotonic() - started

                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(len(self.stored_messages(server)), 1)
                self.assertLess(elapsed, MAILED_RUN_LIMIT, "the run idled after QUIT was answered")

    def test_sign_ins_that_fail_say_why_send_nothing_in_clear_and_exit_with_1(self):
        # (server, security, password, the message)
        cases = [
            ("starttls", "STARTTLS", "wrong-password",
             "Statvane: The mail server refused the user name or password."),
            ("no tls", "STARTTLS", PASSWORD, "Statvane: The mail server does not offer STARTTLS."),
            ("tls wrong name", "TLS", PASSWORD,
             "Statvane: The mail server's certificate was not trusted: The host name did not "
             "match any of the valid hosts for this certificate"),
        ]
        for server, security, password, message in cases:
            with self.subTest(server=server, security=security):
                self.setUp()
                _, result = self.mail_report(server, security, password)

                self.assertEqual((result.returncode, result.stdout), (1, b""))
                self.assertEqual(result.stderr.decode().splitlines(), [message, NOT_HANDED])
                self.assertEqual(self.stored_messages(server), [])
                clear = self.received(server, "clear.bin")
                for command in (b"AUTH", b"MAIL", b"RCPT", b"QUIT", password.encode()):
                    self.assertNotIn(command, clear)


if __name__ == "__main__":
    test_program.main(__doc__, network_test)
