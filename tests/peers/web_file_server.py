#!/usr/bin/env python3
"""Python's web server for the folder it runs in, over HTTPS when given a
certificate and its key, else over plain HTTP. A path "/to/ADDRESS" answers
with a redirection to ADDRESS, for tests that cross between the two. Each
request is logged to standard error as http.server does.

Usage: web_file_server.py PORT [CERTIFICATE KEY]
"""
import http.server
import ssl
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    REDIRECT = "/to/"

    def send_head(self):
        if not self.path.startswith(self.REDIRECT):
            return super().send_head()
        self.send_response(302)
        self.send_header("Location", self.path[len(self.REDIRECT):])
        self.send_header("Content-Length", "0")
        self.end_headers()
        return None


class SecureServer(http.server.ThreadingHTTPServer):
    """Runs the TLS handshake in each connection's own thread, so that a client
    that stalls or gives up in it holds up no other."""

    def __init__(self, address, certificate, key):
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(certificate, key)
        super().__init__(address, Handler)

    def finish_request(self, request, client_address):
        try:
            secure = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return  # the client refused the certificate or went away
        with secure:
            super().finish_request(secure, client_address)


def main():
    arguments = sys.argv[1:]
    if len(arguments) not in (1, 3):
        sys.exit(__doc__)
    address = ("127.0.0.1", int(arguments[0]))
    if len(arguments) == 3:
        server = SecureServer(address, *arguments[1:])
    else:
        server = http.server.ThreadingHTTPServer(address, Handler)
    with server:
        server.serve_forever()


if __name__ == "__main__":
    main()
