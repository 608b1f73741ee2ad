#!/usr/bin/env python3
"""Writes the dot-matrix test job as a faulty printer would have received or printed it:
usage: faulty_job.py JOB OUT KIND, KIND one of
  no-upce     the UPC-E block's data command (ESC DLE B 6 "123456") left out
  ean8-data   the EAN-8 block's digits 1234567 changed to 7654321
  code128-set the Code 128 block (set A, "0123456789") as a printer that starts it in set C
              prints it: the symbol values set A gives the ten digits (16 to 25) under a set-C
              start, which read as the digit pairs 16 17 ... 25, with that symbol's own check
  i25-width   the 2 of 5 block printed at width n5 = 6 where the job asks for 4: its narrow bar
              14/360 in where it should be 9/360
and the PCL test job as a printer without the 0Y barcode font prints it:
  no-0y       ESC ) 0Y (the 3 of 9 font as the secondary set) replaced by ESC ) 10U (PC-8 text)
"""
import sys

job = open(sys.argv[1], "rb").read()
kind = sys.argv[3]
changes = {
    "no-upce": (b"\x1b\x10B\x06123456", b""),
    "ean8-data": (b"\x1b\x10B\x081234567@", b"\x1b\x10B\x087654321@"),
    "code128-set": (b"\x1b\x10B\x0cA0123456789g", b"\x1b\x10B\x16C16171819202122232425@"),
    "i25-width": (b"\x1b\x10A\x08\x03\x00\x01\x02\x04\x04\x04\x00",
                  b"\x1b\x10A\x08\x03\x00\x01\x02\x06\x04\x04\x00"),
    "no-0y": (b"\x1b)0Y", b"\x1b)10U"),
}
old, new = changes[kind]
if job.count(old) != 1:
    sys.exit("the job does not hold the bytes to change once")
open(sys.argv[2], "wb").write(job.replace(old, new))
