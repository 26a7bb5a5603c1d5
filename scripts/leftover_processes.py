#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""Names every process still running that the test command started, ends it, and fails if there was one. The
test command marks its environment with a variable of its own, which every process it starts inherits (session
buses pass it on to the services they start):

    leftover_processes.py NAME=VALUE"""
import os
import signal
import sys


def main():
    mark = sys.argv[1].encode()
    # This process and the test command above it carry the mark too.
    ours, pid = set(), os.getpid()
    while pid > 1:
        ours.add(pid)
        with open(f"/proc/{pid}/stat") as stat:
            pid = int(stat.read().rsplit(")", 1)[1].split()[1])
    left = []
    for name in os.listdir("/proc"):
        if not name.isdigit() or int(name) in ours:
            continue
        try:
            with open(f"/proc/{name}/environ", "rb") as environ, open(f"/proc/{name}/stat") as stat:
                marked = mark in environ.read().split(b"\0")
                ended = stat.read().rsplit(")", 1)[1].split()[0] in ("Z", "X")
            with open(f"/proc/{name}/cmdline", "rb") as cmdline:
                command = cmdline.read().replace(b"\0", b" ").decode(errors="replace").strip()
        except OSError:  # ended meanwhile, or not ours to read
            continue
        if marked and not ended:
            left.append((int(name), command))
    for pid, command in left:
        print(f"left running: {pid} {command}")
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    return 1 if left else 0


if __name__ == "__main__":
    sys.exit(main())
