"""A real SMTP server for the mail client's tests.

Usage: smtp_store_server.py PORT FOLDER [--starttls CERT KEY | --tls CERT KEY]
                            [--login USER PASSWORD] [--no-auth MECHANISM ...]

Runs aiosmtpd on 127.0.0.1:PORT until terminated. Every message received is
stored in FOLDER as N.eml (the bytes as received) and N.json: the envelope,
and the message as Python's email package parses it (MIME structure, defects,
each attachment's name, type and decoded bytes in hex).

Every byte a client sends is appended to FOLDER/clear.bin when it came in
clear, to FOLDER/secure.bin (decrypted) when it came over TLS.

--starttls offers STARTTLS with the certificate and key and takes nothing but
EHLO, STARTTLS and QUIT before it; --tls speaks TLS from the first byte.
--login takes that user name and password only (AUTH PLAIN and LOGIN; with
--starttls only after it, without TLS also in clear); --no-auth leaves
mechanisms out of the offer.
"""

import argparse
import asyncio
import email
import email.policy
import json
import os
import pathlib
import signal
import ssl

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def describe(content: bytes) -> dict:
    message = email.message_from_bytes(content, policy=email.policy.default)
    parts = list(message.walk())
    return {
        "is_multipart": message.is_multipart(),
        "content_type": message.get_content_type(),
        "boundary": message.get_boundary(),
        "defects": [type(d).__name__ for part in parts for d in part.defects],
        # The header values as they were written, before any address parsing.
        "headers": dict(email.message_from_bytes(content).items()),
        "attachments": [
            {
                "filename": part.get_filename(),
                "content_type": part.get_content_type(),
                "data_hex": part.get_payload(decode=True).hex(),
            }
            for part in message.iter_attachments()
        ],
    }


class StoringHandler:
    def __init__(self, folder: pathlib.Path):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        stem = self.folder / str(self.count)
        stem.with_suffix(".eml").write_bytes(envelope.original_content)
        summary = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "message": describe(envelope.original_content),
        }
        # Written under a temporary name first, so a reader never sees half.
        partial = stem.with_suffix(".part")
        partial.write_text(json.dumps(summary))
        partial.rename(stem.with_suffix(".json"))
        return "250 Message accepted"


class RecordingSMTP(SMTP):
    """Keeps every byte received, apart by whether it came over TLS."""

    def __init__(self, folder: pathlib.Path, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.folder = folder

    def data_received(self, data: bytes) -> None:
        secure = self.transport.get_extra_info("sslcontext") is not None
        with open(self.folder / ("secure.bin" if secure else "clear.bin"), "ab") as record:
            record.write(data)
        super().data_received(data)


class RecordingController(Controller):
    def __init__(self, folder: pathlib.Path, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.folder = folder

    def factory(self):
        return RecordingSMTP(self.folder, self.handler, **self.SMTP_kwargs)


def accepting(user: str, password: str):
    def authenticator(server, session, envelope, mechanism, auth_data):
        given = (auth_data.login, auth_data.password) if isinstance(auth_data, LoginPassword) \
            else None
        # Not "handled": a refusal is answered with aiosmtpd's own 535.
        return AuthResult(success=given == (user.encode(), password.encode()), handled=False)
    return authenticator


def server_context(certificate: str, key: str) -> ssl.SSLContext:
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(certificate, key)
    return context


def arguments() -> argparse.Namespace:
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("folder", type=pathlib.Path)
    tls = parser.add_mutually_exclusive_group()
    tls.add_argument("--starttls", nargs=2, metavar=("CERT", "KEY"))
    tls.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--login", nargs=2, metavar=("USER", "PASSWORD"))
    parser.add_argument("--no-auth", nargs="+", default=[], metavar="MECHANISM")
    return parser.parse_args()


def main() -> None:
    options = arguments()
    settings = {}
    if options.starttls:
        settings.update(tls_context=server_context(*options.starttls), require_starttls=True)
    if options.login:
        settings.update(authenticator=accepting(*options.login),
                        # aiosmtpd counts only STARTTLS as TLS; --tls is TLS throughout.
                        auth_require_tls=bool(options.starttls),
                        auth_exclude_mechanism=options.no_auth)
    # A fixed server name: the default would ask the resolver for this
    # machine's full name.
    controller = RecordingController(
        options.folder, StoringHandler(options.folder), hostname="127.0.0.1", port=options.port,
        server_hostname="statvane-test",
        ssl_context=server_context(*options.tls) if options.tls else None, **settings)
    controller.start()
    signal.sigwait({signal.SIGTERM, signal.SIGINT})
    # Nothing to tidy: every message is already stored.
    os._exit(0)


if __name__ == "__main__":
    signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT})
    main()
