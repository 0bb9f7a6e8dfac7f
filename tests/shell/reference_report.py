#!/usr/bin/env python3
"""An independent model of what `statvane --batch REPORT` writes.

Given a program directory (reports.dat, files.dat), a settings file (REGEDIT4
text) and a report name, computes the exact bytes of the text report of a run
without reverse look-ups and without the bytes figure. All text is handled as
bytes; letter case is folded for the ASCII letters only.

Input entries are absolute paths (a relative one would depend on the folder
that an earlier wildcard entry made current). A relative output file name
follows the folder of the last wildcard entry whose folder exists, else the
start folder; a report never reads its own output file.

Usage: reference_report.py PROGRAM_DIR SETTINGS_FILE REPORT [START_DIR]
       (report on stdout)
"""
import decimal
import os
import re
import stat
import sys

PIECE_LENGTH = 4999
SIGNIFICANT_DIGITS = 15
INI_VALUE_LENGTH = 1023
PRODUCT_KEY = b"hkey_current_user\\software\\velmor software\\statvane"
NOT_SELECTED = b"Not Selected"
MISSING_FILES = (b"The file(s) listed under this report do not exist.  Please check the "
                 b"filename(s) by right-clicking on the report and selecting 'Properties.'  "
                 b"Then, click on the 'Inputs' tab.")


class RunFailed(Exception):
    """The run ends with this message instead of a report."""


def fold(text):
    return text.lower()  # bytes.lower() folds A-Z only


# ---- profile files ---------------------------------------------------------

def read_ini(path):
    """Sections in file order: [(name, {folded key: value})]."""
    try:
        with open(path, "rb") as file:
            data = file.read()
    except FileNotFoundError:
        return []
    sections = []
    for raw in re.split(rb"\r\n|\n|\r", data):
        line = raw.strip(b" \t")
        if line.startswith(b"[") and b"]" in line:
            sections.append((line[1:line.index(b"]")], {}))
        elif sections and b"=" in line:
            key, value = line.split(b"=", 1)
            sections[-1][1].setdefault(fold(key.strip(b" \t")), ini_value(value))
    return sections


def ini_value(raw):
    value = raw.strip(b" \t")
    if len(value) >= 2 and value[0] == value[-1] and value[:1] in (b'"', b"'"):
        value = value[1:-1]
    return value[:INI_VALUE_LENGTH]


def ini_section(path, name):
    for section, keys in read_ini(path):
        if fold(section) == fold(name):
            return keys
    return {}


def flag(text):
    text = (text or b"").strip()
    try:
        number = int(text[2:], 16) if text[:2].lower() == b"0x" else int(text, 10)
    except ValueError:
        return False
    return number != 0


def find_report(program_dir, wanted):
    for section, _ in read_ini(os.path.join(program_dir, b"reports.dat")):
        if fold(section) == fold(wanted):
            return section
    raise RunFailed(b'There is no report named "' + wanted + b'".')


def read_inputs(program_dir, name):
    keys = ini_section(os.path.join(program_dir, b"files.dat"), name)
    inputs = []
    while keys.get(b"file %d" % len(inputs)):
        inputs.append(keys[b"file %d" % len(inputs)])
    return inputs


# ---- settings --------------------------------------------------------------

def read_registry(path):
    """{folded key path: [(folded value name, data)]} with strings unescaped."""
    with open(path, "rb") as file:
        lines = re.split(rb"\r\n|\n", file.read())
    keys, current = {}, None
    for line in lines:
        if line.startswith(b"[") and line.endswith(b"]"):
            current = keys.setdefault(fold(line[1:-1]), [])
        elif current is not None and line.startswith(b'"'):
            match = re.fullmatch(rb'"((?:[^"\\]|\\.)*)"=(.*)', line)
            current.append((fold(unescape(match[1])), registry_data(match[2])))
    return keys


def unescape(text):
    return re.sub(rb"\\(.)", rb"\1", text)


def registry_data(text):
    if text.startswith(b'"') and text.endswith(b'"'):
        return unescape(text[1:-1])
    return None  # not a string


def registry_strings(registry, subkey):
    return [data for _, data in registry.get(PRODUCT_KEY + b"\\" + fold(subkey), [])]


def web_site(registry):
    for name, data in registry.get(PRODUCT_KEY + b"\\settings", []):
        if name == b"web site" and data is not None:
            return data
    return b""


# ---- input files -----------------------------------------------------------

def wildcard_parts(entry):
    """(folder, pattern) of a wildcard entry, None for a plain one."""
    entry = entry.replace(b"\\", b"/")
    if b"*" not in entry:
        return None
    return entry[:entry.index(b"*")], entry[entry.index(b"*"):]


def output_file(profile, entries, start_dir):
    """The report's own file when it saves to one: "Output" (test.txt when the
    key is missing) relative to the folder of the last wildcard entry whose
    folder exists, else to the start folder."""
    if not flag(profile.get(b"file")):
        return None
    folder = start_dir
    for parts in filter(None, map(wildcard_parts, entries)):
        if parts[0] and os.path.isdir(parts[0]):
            folder = parts[0]
    return os.path.join(folder, profile.get(b"output", b"test.txt"))


def same_file(path, other):
    try:
        return other is not None and os.path.samefile(path, other)
    except OSError:
        return False


def expand_inputs(entries, output):
    files = []
    for entry in entries:
        parts = wildcard_parts(entry)
        if parts is None:
            plain = entry.replace(b"\\", b"/")
            if same_file(plain, output):
                raise RunFailed(b"(a message of the program's own: the output is an input)")
            files.append(plain)
            continue
        folder, pattern = parts
        files += [folder + name for name in matching_files(folder, pattern)
                  if not same_file(folder + name, output)]
    return files


def matching_files(folder, pattern):
    try:
        names = os.listdir(folder or b".")
    except OSError:
        return []
    if pattern == b"*.*":
        matches = lambda name: True
    else:
        regex = re.escape(pattern).replace(rb"\*", b".*").replace(rb"\?", b".")
        matches = lambda name: re.fullmatch(regex, name, re.IGNORECASE | re.DOTALL)
    chosen = [name for name in names if not name.startswith(b".") and matches(name)
              and os.path.isfile(os.path.join(folder or b".", name))]
    return sorted(chosen, key=reading_key)


# A rotated member: a base name, "." and a number, and maybe a compression ending.
ROTATED_MEMBER = re.compile(rb"(.+)\.([0-9]+)(?:\.gz|\.bz2|\.xz|\.zst)?", re.DOTALL)


def reading_key(name):
    """Name order ignoring case, except that a rotated set (access.log, access.log.1,
    access.log.2.gz, ...) is read highest number first and its base name last, in the
    place of its base name."""
    member = ROTATED_MEMBER.fullmatch(name)
    if member is None:
        return (fold(name), name, 1)
    base = member.group(1)
    return (fold(base), base, 0, -int(member.group(2)), fold(name), name)


def read_lines(path):
    try:
        if not stat.S_ISREG(os.stat(path).st_mode):
            raise RunFailed(MISSING_FILES)
        with open(path, "rb") as file:
            data = file.read()
    except OSError:
        raise RunFailed(MISSING_FILES)
    pieces = []
    for line in data.replace(b"\r\n", b"\n").split(b"\n"):
        pieces += [line[i:i + PIECE_LENGTH] for i in range(0, len(line), PIECE_LENGTH)]
    return pieces


# ---- extraction ------------------------------------------------------------

def visitor_of(line):
    """The text before the first blank; none without a blank, and none when it is empty."""
    blank = line.find(b" ")
    return line[:blank] if blank > 0 else None


def date_of(line):
    start = line.find(b"[")
    if start < 0:
        return b""
    end = line.find(b":", start + 1)
    return line[start + 1:end] if end >= 0 else b""


def referrer_of(line):
    q1 = line.find(b'"')
    q2 = line.find(b'"', q1 + 2) if q1 >= 0 else -1
    q3 = line.find(b'"', q2 + 2) if q2 >= 0 else -1
    q4 = line.find(b'"', q3 + 1) if q3 >= 0 else -1
    return line[q3 + 1:q4] if q4 >= 0 else None


def request_path_of(line):
    get = line.find(b"GET")
    if get < 0:
        return None
    rest = line[get + 4:]
    protocol = rest.find(b"HTTP")
    if protocol < 1:
        return None
    path = rest[:protocol - 1]
    if path.startswith(b"/") and len(path) > 1:
        path = path[1:]
    if path.endswith(b"/") and len(path) > 1:
        path = path[:-1]
    return path


def browser_of(line):
    position = 0
    for _ in range(4):
        quote = line.find(b'"', position)
        if quote < 0:
            return None
        position = quote + 1
    return line[position:]


# ---- analyses --------------------------------------------------------------

class Table:
    """Rows [key, count] in first-occurrence order; keys unique ignoring case."""

    def __init__(self):
        self.rows, self.index = [], {}

    def tally(self, key, minimum_length=0):
        row = self.index.get(fold(key))
        if row is not None:
            row[1] += 1
        elif len(key) >= minimum_length:
            row = [key, 1]
            self.rows.append(row)
            self.index[fold(key)] = row

    def remove_containing(self, text):
        self.rows = [row for row in self.rows if text not in row[0]]


def compile_visitors(lines, filters):
    unique = {}
    for line in lines:
        visitor = visitor_of(line)
        if visitor is not None:
            unique.setdefault(fold(visitor), visitor)
    visitors = [unique[key] for key in sorted(unique)]
    for entry in filters:
        text = entry[1:] if entry.startswith(b"*") else entry
        text = text.split(b"*", 1)[0]
        visitors = [visitor for visitor in visitors if text not in visitor]
    return visitors


def tally_referrers(lines, filters):
    table = Table()
    for line in lines:
        referrer = referrer_of(line)
        if referrer is None:
            continue
        key = fold(referrer)
        if not any(entry in key for entry in filters) and len(key) >= 3:
            table.tally(key)
    return table


def tally_pages(lines, site, filters):
    table = Table()
    for line in lines:
        path = request_path_of(line)
        if path is None:
            continue
        key = site + (b"" if path in (b"/", b"") else b"/") + path
        if key:
            table.tally(key)
    for entry in filters:
        table.remove_containing(entry)
    return table


def tally_browsers(lines):
    table = Table()
    for line in lines:
        browser = browser_of(line)
        if browser is not None:
            table.tally(browser, minimum_length=6)
    return table


# ---- display texts ---------------------------------------------------------

def share_text(count, total):
    """count / total * 100 in the general format: 15 significant digits, correctly
    rounded, trailing zeros dropped, an exponent only from 1E15 up or below 1E-5."""
    with decimal.localcontext(decimal.Context(prec=SIGNIFICANT_DIGITS)):
        value = decimal.Decimal(count * 100) / decimal.Decimal(total)
    digits = "".join(map(str, value.as_tuple().digits)).rstrip("0") or "0"
    exponent = value.adjusted()
    if exponent >= 15 or exponent < -5:
        fraction = "." + digits[1:] if len(digits) > 1 else ""
        return ("%s%sE%d" % (digits[0], fraction, exponent)).encode()
    if exponent < 0:
        return ("0." + "0" * (-exponent - 1) + digits).encode()
    whole, fraction = digits[:exponent + 1].ljust(exponent + 1, "0"), digits[exponent + 1:]
    return (whole + ("." + fraction if fraction else "")).encode()


def figure(value):
    return NOT_SELECTED if value is None else b"%d" % value


def table_lines(heading, columns, table, closing):
    if not table.rows:
        return []
    total = sum(count for _, count in table.rows)
    rows = sorted(table.rows, key=lambda row: -row[1])  # stable: ties keep their order
    return [heading, b"", columns] + [
        key + b"," + b"%d" % count + b"," + share_text(count, total)
        for key, count in rows] + closing


# ---- the run ---------------------------------------------------------------

def run(program_dir, settings_file, report_name, start_dir=b"."):
    name = find_report(program_dir, report_name)
    profile = ini_section(os.path.join(program_dir, b"reports.dat"), name)
    registry = read_registry(settings_file)
    entries = read_inputs(program_dir, name)
    files = expand_inputs(entries, output_file(profile, entries, start_dir))
    lines = [piece for path in files for piece in read_lines(path)]
    if not lines:
        raise RunFailed(b"(a message of the program's own: there is nothing to analyse)")

    def selected(key):
        return flag(profile.get(key))

    visitors = compile_visitors(lines, registry_strings(registry, b"Visitor")) \
        if selected(b"visitors") else []
    referrers = tally_referrers(lines, registry_strings(registry, b"Referrer")) \
        if selected(b"referrers") else Table()
    pages = tally_pages(lines, web_site(registry), registry_strings(registry, b"TopPages")) \
        if selected(b"pages") else Table()
    browsers = tally_browsers(lines) if selected(b"browser") else Table()

    count = len(files)
    unique = len(visitors) or None
    sites = len(referrers.rows) or None
    report = [
        b"Statvane",
        b"Report Profile - " + date_of(lines[0]) + b" to " + date_of(lines[-1]),
        b"",
        b"------> Summary & Totals <------",
        b"",
        b"Total Number of Hits:  " + figure(len(lines)),
        b"Average Number of Hits:  " + figure(len(lines) // count),
        b"",
        b"Total Number of Unique Visitors:  " + figure(unique),
        b"Average Number of Unique Visitors:  " + figure(unique and unique // count),
        b"",
        b"Total Number of Referral Sites:  " + figure(sites),
        b"Average Number of Referral Sites:  " + figure(sites and sites // count),
        b"",
        b"Total Bytes Transferred:  " + NOT_SELECTED,
        b"   - in Kilobytes (K):  " + NOT_SELECTED,
        b"   - in Megabytes (MB):  " + NOT_SELECTED,
        b"Average Bytes Transferred: " + NOT_SELECTED,
        b"   - in Kilobytes (K):  " + NOT_SELECTED,
        b"   - in Megabytes (MB):  " + NOT_SELECTED,
        b"",
    ]
    if visitors:
        report += [b"------> Visitors List <------", b""] + visitors + [b""]
    report += table_lines(b"------> Referrer List <------", b"Web Address, Number, Percentage",
                          referrers, [b""])
    report += table_lines(b"------> Top Pages <------", b"Web Address, Number, Percentage", pages,
                          [b""])
    report += table_lines(b"------> Browser List <------", b"Browser, Number, Percentage",
                          browsers, [])
    return b"".join(line + b"\r\n" for line in report)


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    arguments = [os.fsencode(argument) for argument in sys.argv[1:]]
    try:
        sys.stdout.buffer.write(run(*arguments))
    except RunFailed as failure:
        sys.stderr.buffer.write(b"Statvane: " + failure.args[0] + b"\n")
        sys.exit(1)


if __name__ == "__main__":
    main()
