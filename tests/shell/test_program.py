"""The command line every shell test script takes:

    SCRIPT --statvane PATH [unittest arguments, e.g. a class name]

PATH, the program under test, is set in each module whose tests start it,
then unittest runs."""
import os
import sys
import unittest


def main(usage, *modules):
    arguments = sys.argv[1:]
    if len(arguments) < 2 or arguments[0] != "--statvane":
        sys.exit(usage)
    program = os.path.abspath(arguments[1])
    for module in modules:
        module.STATVANE = program
    unittest.main(argv=[sys.argv[0], *arguments[2:]])
