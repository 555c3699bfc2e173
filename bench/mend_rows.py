#!/usr/bin/env python3
"""Maps a formatted-record file or run log written before the payer mends
onto what the mended formatter writes for the same claims, where nothing in
the batch is one of the mends' cases: the service-line rows move onto the
form's 1/6 in grid, and line 23's revenue code is 0001.

    mend_rows.py fmt|log < OLD > MAPPED
"""
import struct
import sys

OLD_ROWS = ["3.12", "3.27", "3.43", "3.62", "3.8", "3.94", "4.12", "4.3", "4.44", "4.62",
            "4.77", "4.92", "5.11", "5.28", "5.44", "5.61", "5.77", "5.92", "6.11", "6.25",
            "6.43", "6.62"]


def f32(v):
    return struct.unpack("f", struct.pack("f", v))[0]


def position(v):  # as the formatter writes a position: 7 significant digits
    text = "%.7g" % v
    return text


STEP = f32(1.0 / 6)
NEW_ROWS = [position(f32(f32(3.12) + f32(n * STEP))) for n in range(22)]
ROW = dict(zip(OLD_ROWS, NEW_ROWS))


def mend_fmt(line):
    items = line.rstrip("\r\n").split(",")
    if len(items) >= 5 and items[0] == '"F"':
        x, y = items[-3], items[-2]
        if y in ROW:
            items[-2] = ROW[y]
        if items[1] == '"001"' and x == "0.25" and y == "6.8":
            items[1] = '"0001"'
    return ",".join(items) + "\r\n"


def mend_log(line):
    body = line.rstrip("\r\n")
    prefix = '"GetYForDetail  returns:  '
    if body.startswith(prefix) and body.endswith('"') and body[len(prefix):-1] in ROW:
        body = prefix + ROW[body[len(prefix):-1]] + '"'
    return body + "\r\n"


def main():
    mend = mend_fmt if sys.argv[1:] == ["fmt"] else mend_log
    data = sys.stdin.buffer.read().decode("latin-1")
    out = "".join(mend(l) for l in data.splitlines(True))
    sys.stdout.buffer.write(out.encode("latin-1"))


if __name__ == "__main__":
    main()
