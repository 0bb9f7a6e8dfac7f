#!/usr/bin/env python3
"""A web site on loopback for the page-size benchmark.

Usage: slow_site.py PORT SITE_DIR DELAY_MS
       slow_site.py PORT --silent

Serves the files of SITE_DIR on 127.0.0.1:PORT (HEAD and GET, with their
Content-Length), answering each request DELAY_MS milliseconds after it came,
any number of requests at a time. With --silent it accepts every connection
and never answers.
"""
import functools
import http.server
import socketserver
import sys
import time


class SlowHandler(http.server.SimpleHTTPRequestHandler):
    delay = 0.0

    def do_HEAD(self):
        time.sleep(self.delay)
        super().do_HEAD()

    def log_message(self, *arguments):
        pass


class SilentHandler(socketserver.BaseRequestHandler):
    def handle(self):
        while self.request.recv(4096):  # until the client closes
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 128


def main():
    if len(sys.argv) == 3 and sys.argv[2] == "--silent":
        handler = SilentHandler
    elif len(sys.argv) == 4:
        SlowHandler.delay = int(sys.argv[3]) / 1000
        handler = functools.partial(SlowHandler, directory=sys.argv[2])
    else:
        sys.exit(__doc__)
    with Server(("127.0.0.1", int(sys.argv[1])), handler) as server:
        server.serve_forever()


if __name__ == "__main__":
    main()
