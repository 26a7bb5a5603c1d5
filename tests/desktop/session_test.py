#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""The end of a session as the program meets it: driven by a small XSMP session manager of the tests' own on X11,
and closed by SIGTERM as a native client of a headless Wayland compositor (weston). Checks the window from
outside and the stored settings file byte for byte. Each case brings up what it needs (desktop_support.py):

    python3 tests/desktop/session_test.py --build BUILD_DIR --case NAME      (--list names the cases)"""

import ctypes
import os
import queue
import signal
import struct
import subprocess
import sys
import tempfile
import threading

sys.dont_write_bytecode = True  # nothing written next to the sources
from desktop_support import (TWIPS, case, last_line, main, run, store_bytes, stored_position, wait_for,
                             write_store)

SEED = "[Main]\nxPos=1500\nyPos=1500\n"  # 100, 100 in pixels


class StoreWrites:
    """Counts the writes of the store file through inotify on its folder: a file renamed onto it (how QSettings
    saves) or the file closed after being modified in place. QSettings also opens it for writing and closes it
    unmodified, which is no write."""

    IN_MODIFY, IN_CLOSE_WRITE, IN_MOVED_TO, IN_NONBLOCK = 0x2, 0x8, 0x80, 0o4000

    def __init__(self, folder):
        libc = ctypes.CDLL(None, use_errno=True)
        self.fd = libc.inotify_init1(self.IN_NONBLOCK)
        mask = self.IN_MODIFY | self.IN_CLOSE_WRITE | self.IN_MOVED_TO
        if self.fd < 0 or libc.inotify_add_watch(self.fd, folder.encode(), mask) < 0:
            raise OSError(ctypes.get_errno(), "inotify")
        self.count = 0
        self.modified = False

    def writes(self):
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return self.count
            offset = 0
            while offset < len(data):
                _, mask, _, length = struct.unpack_from("iIII", data, offset)
                if data[offset + 16:offset + 16 + length].rstrip(b"\0") == b"Vostrel.conf":
                    self.count += bool(mask & self.IN_MOVED_TO or mask & self.IN_CLOSE_WRITE and self.modified)
                    self.modified = bool(mask & self.IN_MODIFY)
                offset += 16 + length

    def close(self):
        os.close(self.fd)


class SessionManager:
    """The tests' session manager: commands go to its standard input, its event lines come back in a queue."""

    def __init__(self, desktop):
        binary = os.path.join(desktop.build, "tests", "desktop", "session_manager")
        self.process = desktop.spawn([binary], stop="kill", stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=lambda: [self.lines.put(line.strip()) for line in self.process.stdout],
                         daemon=True).start()
        listening = self.expect("listening ")
        self.address = listening.split(" ", 1)[1] if listening else None

    def expect(self, prefix, timeout=5.0):
        """The next line starting with prefix, or None; other lines on the way are passed over."""
        try:
            while not (line := self.lines.get(timeout=timeout)).startswith(prefix):
                pass
            return line
        except queue.Empty:
            return None

    def send(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()

    def stop(self):
        self.send("quit")
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


@case(binaries=["tests/desktop/session_manager"])
def session_manager(desktop):
    """Checkpoints and a cancelled logout leave the strip open and the store untouched; the real logout closes it
    the normal way, storing the position once."""
    check = desktop.check
    config = desktop.fresh_config("session")
    write_store(config, SEED)
    writes = StoreWrites(os.path.join(config, "Vostrel"))
    manager = SessionManager(desktop)
    if not check("session manager: listens", manager.address, manager.process.poll()):
        return
    program = desktop.start(config, env={"SESSION_MANAGER": manager.address})
    registered = manager.expect("registered")
    found = program.find_window()
    check("session manager: the program registers and shows its window", registered and found,
          (registered, found, program.process.poll()))

    # Away from the seeded position, so that a store written by mistake differs from the seed.
    if found:
        run("xdotool", "windowmove", program.window, "200", "150")
        program.wait_position((200, 150))
    position = program.position() if found else None
    seed = store_bytes(config)

    # A checkpoint (the session goes on) and a cancelled logout leave the window open and the store untouched.
    for command, name in [("checkpoint local", "a local checkpoint"), ("checkpoint", "a checkpoint"),
                          ("logout-cancel", "a cancelled logout")]:
        manager.send(command)
        done = manager.expect("save-yourself-done")
        # A round trip through the program after its answer: a close following the answer would have come first.
        synced = found and desktop.copy_focused() is not None
        mapped = program.mapped()
        check(f"session manager: {name} is answered and leaves the window mapped", done and synced and mapped,
              (done, "window mapped" if mapped else "window gone",
               "synced" if synced else "no round trip through the program", program.process.poll()))
        check(f"session manager: {name} leaves the store as it was", store_bytes(config) == seed,
              store_bytes(config))

    manager.send("logout")
    done = manager.expect("save-yourself-done")
    status = program.exit_status(5)
    check("session manager: logout is answered and the program exits with status 0", done and status == 0,
          (done, status))
    expected = (position[0] * TWIPS, position[1] * TWIPS) if position else None
    check("session manager: logout stores the position in twips", stored_position(config) == expected,
          (store_bytes(config), expected))
    # The close stores each of the two entries once; a second close, or a write at a save, would add more. The
    # program has exited: every write it made is in the inotify queue.
    count = writes.writes()
    check("session manager: only the close wrote the store, one write per entry", count == 2, count)
    writes.close()
    manager.stop()


@case(display=False, tools=["weston"])
def native_wayland(desktop):
    """A native client of a headless Wayland compositor: it comes up, says once what does not work there, and a
    SIGTERM closes it without touching the store."""
    check = desktop.check
    runtime = tempfile.mkdtemp(prefix="wayland-", dir=desktop.root)  # 0700, as a runtime folder must be
    socket = "vostrel-test"
    environment = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    log_path = desktop.path("weston.log")
    try:
        with open(log_path, "w") as log:
            weston = desktop.spawn(["weston", "--backend=headless-backend.so", f"--socket={socket}", "--idle-time=0",
                                    "--no-config"], env=environment, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=subprocess.STDOUT)
    except OSError as error:
        check("wayland: weston starts", False, error)
        return
    up = wait_for(lambda: os.path.exists(os.path.join(runtime, socket)) or weston.poll() is not None, 10)
    why = "no socket within 10 s" if weston.poll() is None else f"exited with {weston.returncode}"
    if not check("wayland: weston starts", up and weston.poll() is None,
                 f"{why}; its last line: {last_line(log_path)}"):
        return

    config = desktop.fresh_config("wayland")
    write_store(config, SEED)
    environment.update(WAYLAND_DISPLAY=socket, XDG_CONFIG_HOME=config, WAYLAND_DEBUG="client")
    program = desktop.spawn([desktop.binary], stop="kill", env=environment, stderr=subprocess.PIPE, text=True,
                            errors="replace")
    # The protocol trace (WAYLAND_DEBUG) shows the window configured by the compositor: the window is up. Other
    # lines are what the program itself says.
    lines = queue.Queue()

    def read():
        for line in program.stderr:
            lines.put(line.rstrip())
        lines.put(None)  # the end of its standard error

    threading.Thread(target=read, daemon=True).start()
    said = []
    seen = {"configured": False, "ended": False}

    def take():
        while not lines.empty():
            line = lines.get()
            if line is None:
                seen["ended"] = True
            elif ".ack_configure(" in line:
                seen["configured"] = True
            elif not line.startswith("["):
                said.append(line)
        return seen

    wait_for(lambda: take()["configured"] or seen["ended"], 10)
    check("wayland: the window comes up as a native client", seen["configured"], program.poll())
    program.send_signal(signal.SIGTERM)
    try:
        status = program.wait(5)
    except subprocess.TimeoutExpired:
        program.kill()
        status = "still running"
    # All it said, up to the end of its standard error.
    ended = wait_for(lambda: take()["ended"], 5)
    check("wayland: says once on standard error that it runs natively",
          ended and len([line for line in said if "Wayland" in line]) == 1, said)
    check("wayland: SIGTERM exits with status 0", status == 0, status)
    check("wayland: the store is left byte for byte as it was", store_bytes(config) == SEED.encode(),
          store_bytes(config))


if __name__ == "__main__":
    sys.exit(main(__doc__))
