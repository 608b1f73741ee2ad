#!/usr/bin/env python3
"""Checks the DOM headless Chromium built from verify's HTML report: each block's row shows the
verdict given on the command line, every picture is an embedded PNG that decodes to a picture,
nothing names a resource outside the page, every verdict's meaning and the note on grades are
there.  usage: report_dom.py DOM.html BLOCK=VERDICT ...  (prints what is wrong, exits 1)"""
import base64
import html.parser
import struct
import sys

# The verdicts a reader of the report has explained to them, written out here by hand.
VERDICTS = ["as expected", "other data", "other symbology", "unreadable", "not found",
            "unexpected", "glyphs", "text", "blank", "size differs"]


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.rows = {}      # block number -> texts of its cells
        self.images = []    # src of each img
        self.outside = []   # src or href naming anything but the page's own data
        self.terms = []     # the verdicts the page explains
        self.text = []
        self._row = None
        self._cell = None
        self._in_dt = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for name in ("src", "href", "action", "poster"):
            if name in a and not a[name].startswith("data:") and not a[name].startswith("#"):
                self.outside.append(a[name])
        if tag == "img":
            self.images.append(a.get("src", ""))
        if tag == "link" or tag == "script":
            self.outside.append(tag)
        if tag == "tr" and a.get("id", "").startswith("block-"):
            self._row = a["id"][len("block-"):]
            self.rows[self._row] = []
        if tag == "td" and self._row is not None:
            self._cell = []
        if tag == "dt":
            self._in_dt = True
            self.terms.append("")

    def handle_endtag(self, tag):
        if tag == "td" and self._cell is not None:
            self.rows[self._row].append("".join(self._cell))
            self._cell = None
        if tag == "tr":
            self._row = None
        if tag == "dt":
            self._in_dt = False

    def handle_data(self, data):
        self.text.append(data)
        if self._cell is not None:
            self._cell.append(data)
        if self._in_dt:
            self.terms[-1] += data


def png_size(src):
    prefix = "data:image/png;base64,"
    if not src.startswith(prefix):
        return None
    data = base64.b64decode(src[len(prefix):], validate=True)
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def main():
    page = Page()
    with open(sys.argv[1], encoding="utf-8") as dom:
        page.feed(dom.read())
    wrong = []
    for pair in sys.argv[2:]:
        block, verdict = pair.split("=", 1)
        cells = page.rows.get(block)
        # Block, expected symbology, data, verdict, ...
        if cells is None or len(cells) < 4:
            wrong.append(f"block {block}: no row")
        elif cells[3] != verdict:
            wrong.append(f"block {block}: shows {cells[3]!r}, expected {verdict!r}")
    if len(page.rows) != len(sys.argv) - 2:
        wrong.append(f"{len(page.rows)} block rows, expected {len(sys.argv) - 2}")
    if len(page.images) != 2:
        wrong.append(f"{len(page.images)} pictures, expected the scan and the sheet")
    for src in page.images:
        size = png_size(src)
        if size is None or size[0] == 0 or size[1] == 0:
            wrong.append(f"a picture that is no embedded PNG: {src[:60]}")
    if page.outside:
        wrong.append(f"names resources outside the page: {page.outside[:5]}")
    if page.terms != VERDICTS:
        wrong.append(f"explains {page.terms}, expected {VERDICTS}")
    text = "".join(page.text)
    if text.count("Grades are indicative") != 1:
        wrong.append("the note that grades are indicative is not there once")
    for line in wrong:
        print("report_dom:", line)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
