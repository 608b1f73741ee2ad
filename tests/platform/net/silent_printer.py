#!/usr/bin/env python3
"""A printer that takes every question and answers none: a raw port (TCP) that reads and never
writes or closes, and an SNMP agent (UDP) that reads and never replies, both on loopback.
Writes "TCP UDP" (the ports) to PORTS, then a line to ASKED each time something is asked.
usage: silent_printer.py PORTS ASKED"""
import os
import selectors
import socket
import sys

ports_file, asked_file = sys.argv[1], sys.argv[2]
raw = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
raw.bind(("127.0.0.1", 0))
raw.listen(8)
agent = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
agent.bind(("127.0.0.1", 0))
with open(ports_file + ".part", "w") as f:
    f.write("%d %d\n" % (raw.getsockname()[1], agent.getsockname()[1]))
os.replace(ports_file + ".part", ports_file)

selector = selectors.DefaultSelector()
selector.register(raw, selectors.EVENT_READ)
selector.register(agent, selectors.EVENT_READ)
held = []
while True:
    for key, _ in selector.select():
        if key.fileobj is raw:
            connection, _ = raw.accept()
            held.append(connection)  # kept open, never answered
            selector.register(connection, selectors.EVENT_READ)
            continue
        data = key.fileobj.recv(65536)
        if not data and key.fileobj is not agent:
            selector.unregister(key.fileobj)
            continue
        with open(asked_file, "a") as f:
            f.write("asked\n")
