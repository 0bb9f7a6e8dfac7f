#!/usr/bin/env python3
"""Writes a realistic access log in the NCSA combined layout.

Visitors, pages, referrers and browsers follow skewed distributions, as on a
real site; --distinct and --tiny give the worst cases instead. The same
arguments always give the same file.
"""
import argparse
import datetime
import random

AGENTS = [
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/{v}.0.0.0 Safari/537.36",
    "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/{v}.1 Safari/605.1.15",
    "Mozilla/5.0 (X11; Linux x86_64; rv:{v}.0) Gecko/20100101 Firefox/{v}.0",
    "Mozilla/5.0 (iPhone; CPU iPhone OS 17_{v} like Mac OS X) AppleWebKit/605.1.15 (KHTML, like Gecko) Mobile/15E148",
    "Mozilla/4.0 (compatible; MSIE {v}.01; Windows 98)",
    "Googlebot/2.1 (+http://www.google.com/bot.html)",
    "curl/7.{v}.1",
    "-",
]
SECTIONS = ["docs", "blog", "products", "support", "images", "downloads", "about", "news"]
METHODS = ["GET"] * 18 + ["POST", "HEAD"]
STATUSES = [200] * 30 + [304] * 5 + [404] * 3 + [301, 500]


def skewed(generator, items):
    """Picks early items far more often than late ones."""
    return items[min(int(generator.paretovariate(1.1)) - 1, len(items) - 1)]


def build_pools(generator, visitors, pages):
    addresses = []
    for i in range(visitors):
        if i % 9 == 0:
            addresses.append(f"host{i}.example.net")
        else:
            addresses.append("%d.%d.%d.%d" % (generator.randint(1, 223), generator.randint(0, 255),
                                              generator.randint(0, 255), generator.randint(1, 254)))
    paths = ["/", "/index.html"]
    while len(paths) < pages:
        section = generator.choice(SECTIONS)
        paths.append(f"/{section}/page{len(paths)}.html")
        if len(paths) % 10 == 0:
            paths.append(f"/{section}/")
    referrers = ["-"] * 4 + [f"http://www.site{i}.example.org/links{i % 7}.html" for i in range(400)]
    agents = [agent.format(v=generator.randint(4, 120)) for agent in AGENTS for _ in range(12)]
    return addresses, paths, referrers, agents


def moments(args, start):
    """The time of each line, evenly spread over the days."""
    step = args.days * 86400 / max(args.lines, 1)
    return (start + datetime.timedelta(seconds=n * step) for n in range(args.lines))


def realistic_lines(generator, args, start):
    addresses, paths, referrers, agents = build_pools(generator, args.visitors, args.pages)
    for when in moments(args, start):
        method = generator.choice(METHODS)
        path = skewed(generator, paths)
        if generator.random() < 0.05:
            path += "?q=%d" % generator.randint(1, 99)
        host = skewed(generator, addresses)
        status, size = generator.choice(STATUSES), generator.randint(200, 90000)
        yield combined_line(host, when, method, path, status, size, skewed(generator, referrers),
                            skewed(generator, agents))


def distinct_lines(generator, args, start):
    """Lines whose host, page, referrer and browser are each seen once."""
    agents = [agent for agent in AGENTS if "{v}" in agent]
    for n, when in enumerate(moments(args, start)):
        host = "%d.%d.%d.%d" % (10 + (n >> 24), (n >> 16) & 255, (n >> 8) & 255, n & 255)
        path = f"/{generator.choice(SECTIONS)}/page{n}.html"
        referrer = f"http://www.site{n}.example.org/links{n % 7}.html"
        status, size = generator.choice(STATUSES), generator.randint(200, 90000)
        yield combined_line(host, when, "GET", path, status, size, referrer,
                            agents[n % len(agents)].format(v=n))


def tiny_lines(_generator, args, _start):
    """Lines of one character each."""
    return ("x\n" for _ in range(args.lines))


def combined_line(host, when, method, path, status, size, referrer, agent):
    return '%s - - [%s] "%s %s HTTP/1.1" %d %d "%s" "%s"\n' % (
        host, when.strftime("%d/%b/%Y:%H:%M:%S +0000"), method, path, status, size, referrer,
        agent)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--lines", type=int, default=5000)
    parser.add_argument("--days", type=int, default=7)
    parser.add_argument("--visitors", type=int, default=2000)
    parser.add_argument("--pages", type=int, default=300)
    parser.add_argument("--start", default="2026-11-02")
    parser.add_argument("--variant", type=int, default=1, help="another number gives another log")
    kind = parser.add_mutually_exclusive_group()
    kind.add_argument("--distinct", action="store_const", dest="lines_of", const=distinct_lines,
                      default=realistic_lines,
                      help="every host, page, referrer and browser distinct")
    kind.add_argument("--tiny", action="store_const", dest="lines_of", const=tiny_lines,
                      help="lines of one character")
    parser.add_argument("output")
    args = parser.parse_args()

    generator = random.Random(args.variant)
    start = datetime.datetime.fromisoformat(args.start).replace(tzinfo=datetime.timezone.utc)
    with open(args.output, "w", newline="\n") as out:
        out.writelines(args.lines_of(generator, args, start))


if __name__ == "__main__":
    main()
