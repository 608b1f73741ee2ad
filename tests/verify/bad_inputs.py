#!/usr/bin/env python3
"""Writes the malformed files verify must refuse with a message: PNG headers that claim a
0 x 0 or a 60,000-dot-wide picture (no picture data follows), and a PDF without pages."""
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_header(width, height):
    """The signature, the header chunk and one row of picture data: far fewer than it claims."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(b"\0" + b"\xff" * 16)) + chunk(b"IEND", b""))


def no_pages_pdf():
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [] /Count 0 >>"]
    out = b"%PDF-1.4\n"
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, xref)
    return out


folder = sys.argv[1]
with open(folder + "/zero.png", "wb") as f:
    f.write(png_header(0, 0))
with open(folder + "/wide.png", "wb") as f:
    f.write(png_header(60000, 10))
with open(folder + "/no-pages.pdf", "wb") as f:
    f.write(no_pages_pdf())
