"""A real SMTP server for the mail client's tests.

Usage: smtp_store_server.py PORT FOLDER

Runs aiosmtpd on 127.0.0.1:PORT until terminated. Every message received is
stored in FOLDER as N.eml (the bytes as received) and N.json: the envelope,
and the message as Python's email package parses it (MIME structure, defects,
each attachment's name, type and decoded bytes in hex).
"""

import asyncio
import email
import email.policy
import json
import os
import pathlib
import signal
import sys

from aiosmtpd.controller import Controller


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


def main() -> None:
    port = int(sys.argv[1])
    folder = pathlib.Path(sys.argv[2])
    # A fixed server name: the default would ask the resolver for this
    # machine's full name.
    controller = Controller(StoringHandler(folder), hostname="127.0.0.1", port=port,
                            server_hostname="statvane-test")
    controller.start()
    signal.sigwait({signal.SIGTERM, signal.SIGINT})
    # Nothing to tidy: every message is already stored.
    os._exit(0)


if __name__ == "__main__":
    signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT})
    main()
