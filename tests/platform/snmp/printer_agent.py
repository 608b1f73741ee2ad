#!/usr/bin/env python3
"""A printer's SNMP values for snmpd's pass_persist: the Printer MIB's page counter, the host
resources' printer and device status and error state, the alert table and the 1284 device ID.

Usage (from snmpd.conf): pass_persist OID printer_agent.py STATE_DIR
STATE_DIR/captures holds the virtual printer's jobs: each one moves the counter by one page.
STATE_DIR/state, when present, says "paper-out" (the printer is in error and prints nothing) or
"stuck" (it prints nothing and says nothing of it); in both its counter stays at 48211. STATE_DIR/device-id holds the device ID.
"""
import os
import sys

COUNTER_BASE = 48211
state_dir = sys.argv[1]


def read(name, default=""):
    try:
        with open(os.path.join(state_dir, name)) as f:
            return f.read().strip()
    except OSError:
        return default


def key(oid):
    return tuple(int(part) for part in oid.strip(".").split("."))


def values():
    state = read("state", "ready")
    jobs = 0
    if state == "ready":
        try:
            captures = os.path.join(state_dir, "captures")
            # A connection that sent nothing (a check's) printed nothing.
            jobs = len([n for n in os.listdir(captures)
                        if n.endswith(".prn") and os.path.getsize(os.path.join(captures, n))])
        except OSError:
            jobs = 0
    paper_out = state == "paper-out"
    table = {
        "1.3.6.1.2.1.25.3.2.1.5.1": ("integer", "3" if paper_out else "2"),
        "1.3.6.1.2.1.25.3.5.1.1.1": ("integer", "1" if paper_out else "3"),
        # hrPrinterDetectedErrorState: noPaper is bit 1 of the first octet (0x40).
        "1.3.6.1.2.1.25.3.5.1.2.1": ("octet", "40" if paper_out else "00"),
        "1.3.6.1.2.1.43.10.2.1.4.1.1": ("counter", str(COUNTER_BASE + jobs)),
    }
    if paper_out:
        table["1.3.6.1.2.1.43.18.1.1.8.1.1"] = ("string", "Tray 1 empty: load paper")
    device_id = read("device-id")
    if device_id:
        table["1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1"] = ("string", device_id)
    return table


def answer(oid, following):
    table = values()
    wanted = key(oid)
    for name in sorted(table, key=key):
        if (key(name) > wanted) if following else (key(name) == wanted):
            kind, value = table[name]
            return "." + name + "\n" + kind + "\n" + value + "\n"
    return "NONE\n"


def main():
    while True:
        command = sys.stdin.readline()
        if not command:
            return
        command = command.strip()
        if command == "PING":
            reply = "PONG\n"
        elif command in ("get", "getnext"):
            reply = answer(sys.stdin.readline().strip(), command == "getnext")
        elif command == "set":
            sys.stdin.readline()
            sys.stdin.readline()
            reply = "not-writable\n"
        else:
            reply = "NONE\n"
        sys.stdout.write(reply)
        sys.stdout.flush()


main()
