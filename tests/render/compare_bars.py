#!/usr/bin/env python3
"""Compares two renders of one sheet block by block: zbar reads the same symbols from both, and
along the row through the middle of each symbol every edge between bar and space lies within a
dot of an edge of the reference (the Linux build's render), both ways. The blocks' places come
from the Linux build's verify of the reference. Text may differ with the font; it lies outside
the rows compared.

usage: compare_bars.py REFERENCE.png VERIFY.json DPI SYMBOLS OTHER.png..."""

import json
import subprocess
import sys

ZBAR = ["zbarimg", "-q", "--nodbus", "-Supca.enable=1", "-Supce.enable=1", "-Si25.min-length=2"]
MARGIN = 4  # dots beyond a symbol's box, so that its outer edges are compared too


def decoded(png):
    out = subprocess.run(ZBAR + [png], capture_output=True, text=True).stdout
    return sorted(out.splitlines())


def rows(png):
    """The picture's rows of 8-bit grey, through ImageMagick (a binary PGM: P5 W H 255)."""
    pgm = subprocess.run(["convert", png, "-depth", "8", "pgm:-"], capture_output=True).stdout
    fields = pgm.split(maxsplit=4)
    width, height, raw = int(fields[1]), int(fields[2]), fields[4]
    return [raw[y * width:(y + 1) * width] for y in range(height)]


def edges(row, left, right):
    return [x for x in range(max(left, 1), min(right, len(row)))
            if (row[x] < 128) != (row[x - 1] < 128)]


def strays(these, those):
    """The edges of `these` with no edge of `those` within a dot."""
    return [x for x in these if not any(abs(x - y) <= 1 for y in those)]


def compare(reference, reference_rows, wanted, blocks, other, dpi):
    """What differs between `other` and the reference, one line each."""
    failures = []
    got = decoded(other)
    if got != wanted:
        failures.append(f"zbar read {got} from {other}, {wanted} from {reference}")
    other_rows = rows(other)
    for block in blocks:
        box = block["found"]["box"]
        y = round((box["top"] + box["height"] / 2) * dpi)
        left = round(box["left"] * dpi) - MARGIN
        right = round((box["left"] + box["width"]) * dpi) + MARGIN
        want = edges(reference_rows[y], left, right)
        have = edges(other_rows[y], left, right)
        # An edge just inside the window in one picture may have its match just outside it.
        if (len(want) < 4 or strays(want, edges(other_rows[y], left - 2, right + 2)) or
                strays(have, edges(reference_rows[y], left - 2, right + 2))):
            failures.append(f"{other}: block {block['block']} "
                            f"({block['expected']['symbology']}), row {y}: edges {have}, "
                            f"the reference's {want}")
    return failures


def main():
    reference, report, dpi, count = sys.argv[1:5]
    dpi, count = float(dpi), int(count)
    failures = []
    wanted = decoded(reference)
    blocks = json.load(open(report))["blocks"]
    if len(wanted) != count or len(blocks) != count:
        failures.append(f"{reference}: zbar read {len(wanted)} symbols, {report} places "
                        f"{len(blocks)} blocks, not {count}")
    reference_rows = rows(reference)
    for other in sys.argv[5:]:
        failures += compare(reference, reference_rows, wanted, blocks, other, dpi)
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"{' '.join(sys.argv[5:])}: {count} symbols, each bar within a dot of {reference}'s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
