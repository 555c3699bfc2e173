#!/usr/bin/python3
"""Draws a formatted-record file with ReportLab: the peer the printer is
measured against.

    peer_render.py CLAIMS.fmt OUT.pdf

Same pages as the component prints: every "F" text in Courier-Bold 10 pt on
US Letter, placed by the same rules (alignment 0 starts at X, 1 ends at X,
2 is centred on the page width; Y is the lower edge of the text line, so the
baseline is Y minus the descent), a page ended by each "N" line, nothing
written when there is no page. Texts are single-byte (Windows-1252).

Prints "pages=N seconds=S" (S: reading and drawing, without start-up).
Runs under Debian's python3 (package python3-reportlab).
"""
import sys
import time

from reportlab.lib.pagesizes import letter
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfgen import canvas

FONT = "Courier-Bold"
SIZE = 10
PAGE_W, PAGE_H = letter  # points


def parse(line):
    """'"F","text",0.65,3.12,0' -> ("F", "text", 0.65, 3.12, 0).
    A text never holds a double quote, so it ends at the next one."""
    kind = line[1:line.index('"', 1)]
    start = line.index('"', len(kind) + 3) + 1
    end = line.index('"', start)
    x, y, n = line[end + 2:].split(",")
    return kind, line[start:end], float(x), float(y), int(float(n))


def render(src, dst):
    ascent, descent = pdfmetrics.getAscentDescent(FONT, SIZE)  # points
    height = ascent - descent
    c = None
    pages = 0
    on_page = False
    cur_x = cur_y = 0.0
    with open(src, "rb") as f:
        for raw in f:
            kind, text, x, y, n = parse(raw.rstrip(b"\r\n").decode("cp1252"))
            if kind == "F":
                if c is None:
                    c = canvas.Canvas(dst, pagesize=letter)
                if not on_page:
                    c.setFont(FONT, SIZE)
                    on_page = True
                w = pdfmetrics.stringWidth(text, FONT, SIZE)
                if n == 0:
                    left = x * 72
                elif n == 1:
                    left = x * 72 - w
                elif n == 2:
                    left = PAGE_W / 2 - w / 2
                else:
                    left = None  # keeps the current position
                if left is None:
                    left, base = cur_x, cur_y
                else:
                    # top = Y - height, baseline = top + ascent = Y + descent
                    base = PAGE_H - (y * 72 + descent)
                c.drawString(left, base, text)
                cur_x, cur_y = left + w, base
            elif kind == "N":
                if c is None:
                    c = canvas.Canvas(dst, pagesize=letter)
                c.showPage()
                on_page = False
                pages += 1
    if c is not None and pages:
        c.save()
    return pages, height


def main():
    if len(sys.argv) != 3:
        sys.stderr.write("usage: peer_render.py CLAIMS.fmt OUT.pdf\n")
        return 2
    start = time.perf_counter()
    pages, _ = render(sys.argv[1], sys.argv[2])
    print("pages=%d seconds=%.6f" % (pages, time.perf_counter() - start))
    return 0


if __name__ == "__main__":
    sys.exit(main())
