#!/usr/bin/env python3
"""Gives a JPEG the EXIF orientation a phone writes when it stores the dots as its sensor saw
them: `exif_orientation.py IN.jpg OUT.jpg 6` (6: turn 90 degrees clockwise to view, as a phone
held upright writes; 3: 180; 8: 90 counter-clockwise). The EXIF block (TIFF header, one IFD
entry, tag 0x0112 SHORT) follows the JPEG's start-of-image marker."""
import struct
import sys

source, target, orientation = sys.argv[1], sys.argv[2], int(sys.argv[3])
with open(source, "rb") as f:
    jpeg = f.read()
assert jpeg[:2] == b"\xff\xd8", "not a JPEG"
tiff = b"MM\x00\x2a" + struct.pack(">I", 8) + struct.pack(">H", 1)
tiff += struct.pack(">HHIH2x", 0x0112, 3, 1, orientation) + struct.pack(">I", 0)
body = b"Exif\x00\x00" + tiff
with open(target, "wb") as f:
    f.write(b"\xff\xd8" + b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body + jpeg[2:])
