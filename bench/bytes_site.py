#!/usr/bin/env python3
"""Writes the site and log of the bytes benchmark.

Usage: bytes_site.py SITE_DIR LOG URL_LIST SITE_ADDRESS [PAGES]

SITE_DIR gets PAGES files (1,000 by default) of different sizes; LOG asks for
each of them one to three times, in combined layout; URL_LIST holds each page's
address under SITE_ADDRESS once. Prints the total bytes those hits transfer.
"""
import os
import sys


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit(__doc__)
    site, log, url_list, address = sys.argv[1:5]
    pages = int(sys.argv[5]) if len(sys.argv) == 6 else 1000
    os.makedirs(site, exist_ok=True)
    total = 0
    with open(log, "wb") as lines, open(url_list, "w") as urls:
        for number in range(pages):
            name = f"page{number:04d}.html"
            size, hits = 500 + number * 37 % 4000, 1 + number % 3
            with open(os.path.join(site, name), "wb") as page:
                page.write(b"x" * size)
            urls.write(f"{address}/{name}\n")
            line = (f'10.1.{number // 250}.{number % 250} - - [09/Nov/2026:12:00:00 +0000] '
                    f'"GET /{name} HTTP/1.1" 200 {size} "-" "Mozilla/5.0 (X11; Bench)"\r\n')
            lines.write(line.encode() * hits)
            total += size * hits
    print(total)


if __name__ == "__main__":
    main()
