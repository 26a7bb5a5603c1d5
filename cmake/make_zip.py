#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""Writes a zip archive that is the same bytes for the same files: members in the order given, every time stamp
SOURCE_DATE_EPOCH, or else the time of the last commit of the sources (rounded down to the zip format's two
seconds, and no earlier than 1980), fixed modes and no
owners. Text members (.txt and LICENSE) get Windows line ends, and a .txt a byte-order mark, so that every
Windows editor reads its UTF-8.
Usage: make_zip.py [--source DIR] ARCHIVE NAME=FILE..."""

import os
import subprocess
import sys
import time
import zipfile


def source_date_epoch(source):
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    if source:
        last = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True, text=True)
        if last.returncode == 0 and last.stdout.strip().isdigit():
            return int(last.stdout.strip())
    return 0


def main():
    arguments = sys.argv[1:]
    source = None
    if arguments[:1] == ["--source"]:
        source, arguments = arguments[1], arguments[2:]
    archive, members = arguments[0], [argument.split("=", 1) for argument in arguments[1:]]
    epoch = max(source_date_epoch(source), 315532800)
    stamp = time.gmtime(epoch)[:6]
    with zipfile.ZipFile(archive + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as out:
        for name, path in members:
            with open(path, "rb") as file:
                data = file.read()
            if name.endswith(".txt") or name == "LICENSE":
                data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
                if name.endswith(".txt") and not data.startswith(b"\xef\xbb\xbf"):
                    data = b"\xef\xbb\xbf" + data
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owners or modes
            info.external_attr = 0x20  # archive
            out.writestr(info, data)
    os.replace(archive + ".part", archive)


if __name__ == "__main__":
    main()
