#!/usr/bin/env python3
"""Runs a command several times and prints its best wall time and peak memory.

Each run is a fresh process started by GNU time (/usr/bin/time), whose
maximum resident set size is that process's own: a child forked from this
Python process would carry Python's memory in its high-water mark. Output, on
one line: best wall seconds (the median with --median), then the largest
maximum RSS of all runs in KiB. With --idle SECONDS the machine is left idle
that long before every run, as a job started by cron finds it. A run that
fails ends the measurement with the command's exit status.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def empty_folder(folder):
    """Gives a program that writes into a folder the same empty start each run."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)


def run_once(command):
    """Runs the command once, its output dropped and its errors shown.

    Returns (wall seconds, max RSS in KiB, exit status)."""
    with tempfile.NamedTemporaryFile("r") as memory:
        timed = ["/usr/bin/time", "-f", "%M", "-o", memory.name, *command]
        start = time.perf_counter()
        status = subprocess.run(timed, stdout=subprocess.DEVNULL, check=False).returncode
        seconds = time.perf_counter() - start
        lines = memory.read().split()
    return seconds, int(lines[-1]) if lines else 0, status


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--fresh-dir", help="a folder emptied before every run")
    parser.add_argument("--idle", type=float, default=0, help="seconds to sleep before every run")
    parser.add_argument("--median", action="store_true", help="the median run, not the best")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command given")

    times, peak = [], 0
    for _ in range(args.runs):
        if args.fresh_dir:
            empty_folder(args.fresh_dir)
        time.sleep(args.idle)
        seconds, rss, status = run_once(command)
        if status != 0:
            print(f"{command[0]} failed with status {status}", file=sys.stderr)
            return status if status > 0 else 1
        times.append(seconds)
        peak = max(peak, rss)
    print(f"{(statistics.median if args.median else min)(times):.4f} {peak}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
