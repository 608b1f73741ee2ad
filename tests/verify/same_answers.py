#!/usr/bin/env python3
"""Compares what two builds of verify said of the same scan (their --format json): the same sheet
on each page, seen the same way up and taken for a scan or a photo alike, the same verdict for each block, every size both measured within a dot of the
scan's resolution (or within the uncertainty verify states, where that is more), the same exit
status.  usage: same_answers.py FIRST.json SECOND.json
(prints what differs, exits 1)"""
import json
import sys


def pages(report):
    return report["pages"] if "pages" in report else [report]


def measured(block, size):
    """The size measured, or None where the block has no sizes (not found) or none was taken."""
    return ((block["sizes"] or {}).get(size) or {}).get("measured")


def uncertainty(block, size):
    """How far verify itself says the picture lets it trust the size (0 when it says nothing)."""
    return ((block["sizes"] or {}).get(size) or {}).get("uncertainty") or 0


def compare(first, second):
    wrong = []
    if first["exitStatus"] != second["exitStatus"]:
        wrong.append(f"exit status {first['exitStatus']} vs {second['exitStatus']}")
    a, b = pages(first), pages(second)
    if len(a) != len(b):
        return wrong + [f"{len(a)} pages vs {len(b)}"]
    for p, q in zip(a, b):
        page = p["scan"]["page"]
        if p["sheet"] != q["sheet"]:
            wrong.append(f"page {page}: sheet {p['sheet']} vs {q['sheet']}")
            continue
        for key in ("rotation", "kind"):
            if p["scan"][key] != q["scan"][key]:
                wrong.append(f"page {page}: {key} {p['scan'][key]} vs {q['scan'][key]}")
        dot = 1 / p["scan"]["dpi"] if p["scan"]["dpi"] else 0
        for s, t in zip(p["blocks"], q["blocks"]):
            name = f"page {page} block {s['block']}"
            if s["verdict"] != t["verdict"]:
                wrong.append(f"{name}: {s['verdict']} vs {t['verdict']}")
            for size in ("height", "module"):
                m, n = measured(s, size), measured(t, size)
                # A photo's sizes are only as sure as verify says (its perspective fit), and the
                # two builds' JPEG decoders differ by a grey level here and there: within that
                # uncertainty where it is more than a dot.
                allowed = max(dot, min(uncertainty(s, size), uncertainty(t, size)))
                if m is not None and n is not None and abs(m - n) > allowed + 1e-9:
                    wrong.append(f"{name}: {size} {m:.4f} in vs {n:.4f} in, more than a dot apart")
        if len(p["blocks"]) != len(q["blocks"]):
            wrong.append(f"page {page}: {len(p['blocks'])} blocks vs {len(q['blocks'])}")
    return wrong


def main():
    with open(sys.argv[1], encoding="utf-8") as f, open(sys.argv[2], encoding="utf-8") as g:
        wrong = compare(json.load(f), json.load(g))
    for line in wrong:
        print(line)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
