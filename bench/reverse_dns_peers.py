#!/usr/bin/env python3
"""Helpers of bench/reverse_dns.sh, all on loopback.

  setup FOLDER COUNT   writes FOLDER/access.log with COUNT unique visitors
                       (a third 10.10.x.y with names, a third 10.20.x.y whose
                       look-ups are never answered, a third 10.30.x.y without
                       names) and FOLDER/ptr.conf, dnsmasq's records for the
                       first third
  silent PORT          a UDP server on 127.0.0.1:PORT that never answers
  wait PORT            waits until a DNS server answers on 127.0.0.1:PORT
  sample LIBRARY N     times ResolveIP of LIBRARY one address at a time for N
                       addresses of each third; prints the seconds per look-up
                       of each third, named, silent, unnamed
"""
import ctypes
import socket
import struct
import sys
import time

GROUPS = ("10.10", "10.20", "10.30")


def address(group, i):
    return f"{group}.{i // 250}.{i % 250 + 1}"


def setup(folder, count):
    per_group = count // 3 + 1
    visitors = [address(GROUPS[i % 3], i // 3) for i in range(count)]
    with open(f"{folder}/access.log", "w") as log:
        for visitor in visitors:
            log.write(f'{visitor} - - [06/Dec/1999:10:15:32 -0500] "GET / HTTP/1.0" 200 100 "-" "-"\n')
    with open(f"{folder}/ptr.conf", "w") as conf:
        for i in range(per_group):
            parts = address(GROUPS[0], i).split(".")
            conf.write(f"ptr-record={'.'.join(reversed(parts))}.in-addr.arpa,"
                       f"host{i}.statvane.test\n")


def silent(port):
    server = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    server.bind(("127.0.0.1", port))
    while True:
        server.recv(4096)


def ptr_query():
    name = b"".join(bytes([len(p)]) + p for p in b"1.1.10.10.in-addr.arpa".split(b"."))
    return struct.pack(">HHHHHH", 7, 0x0100, 1, 0, 0, 0) + name + b"\0" + struct.pack(">HH", 12, 1)


def wait(port):
    client = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    client.settimeout(0.2)
    for _ in range(100):
        client.sendto(ptr_query(), ("127.0.0.1", port))
        try:
            client.recv(4096)
            return
        except socket.timeout:
            pass
    sys.exit(f"no DNS server answers on port {port}")


def sample(library, count):
    resolve_ip = ctypes.CDLL(library).ResolveIP
    resolve_ip.restype = ctypes.c_char_p
    resolve_ip.argtypes = [ctypes.c_char_p]
    seconds = []
    for group in GROUPS:
        start = time.monotonic()
        for i in range(count):
            resolve_ip(address(group, i).encode())
        seconds.append((time.monotonic() - start) / count)
    named, silent_group, unnamed = seconds
    print(named, silent_group, unnamed)


def main():
    command, *arguments = sys.argv[1:]
    if command == "setup":
        setup(arguments[0], int(arguments[1]))
    elif command == "silent":
        silent(int(arguments[0]))
    elif command == "wait":
        wait(int(arguments[0]))
    elif command == "sample":
        sample(arguments[0], int(arguments[1]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
