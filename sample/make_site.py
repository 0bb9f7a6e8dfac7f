#!/usr/bin/env python3
"""Writes the sample site: one file for every page the sample logs request.

Usage: make_site.py SITE_DIR LOG...

Each page gets a size of its own (from 500 bytes to about 60 KB), the same
every time; a folder's page is its index.html.
"""
import pathlib
import re
import sys
import zlib

REQUEST = re.compile(rb'"GET (/[^ ?"]*)')


def page_file(site, path):
    relative = path.strip("/")
    target = site / relative if relative else site
    if path.endswith("/") or not relative or "." not in relative.rsplit("/", 1)[-1]:
        target = target / "index.html"
    return target


def main():
    site = pathlib.Path(sys.argv[1])
    paths = set()
    for log in sys.argv[2:]:
        paths.update(m.group(1).decode() for m in REQUEST.finditer(pathlib.Path(log).read_bytes()))
    for path in sorted(paths):
        target = page_file(site, path)
        if target.exists():
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        size = 500 + zlib.crc32(path.encode()) % 60000
        target.write_bytes(b"<html><body>" + b"x" * size + b"</body></html>\n")


if __name__ == "__main__":
    main()
