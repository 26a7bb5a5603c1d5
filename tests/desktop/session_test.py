#!/usr/bin/env python3
"""The end of a session as the program meets it: driven by a small XSMP session manager of the tests' own on X11,
and closed by SIGTERM as a native client of a headless Wayland compositor (weston). Checks the window from
outside and the stored settings file byte for byte."""

import argparse
import ctypes
import os
import queue
import shutil
import signal
import struct
import subprocess
import tempfile
import threading

from desktop_test import TWIPS, Program, Results, run, stored_position, wait_for, write_store

SEED = "[Main]\nxPos=1500\nyPos=1500\n"  # 100, 100 in pixels


def store_bytes(config):
    try:
        with open(os.path.join(config, "Vostrel", "Vostrel.conf"), "rb") as file:
            return file.read()
    except OSError as error:
        return repr(error)


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


class SessionManager:
    """The tests' session manager: commands go to its standard input, its event lines come back in a queue."""

    def __init__(self, binary):
        self.process = subprocess.Popen([binary], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=lambda: [self.lines.put(line.strip()) for line in self.process.stdout],
                         daemon=True).start()
        listening = self.expect("listening ")
        self.address = listening.split(" ", 1)[1] if listening else None

    def expect(self, prefix, timeout=3.0):
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


def session_manager_case(check, binary, manager_binary, work):
    config = os.path.join(work, "session")
    shutil.rmtree(config, ignore_errors=True)
    write_store(config, SEED)
    writes = StoreWrites(os.path.join(config, "Vostrel"))
    manager = SessionManager(manager_binary)
    if not check("session manager: listens", manager.address, manager.process.poll()):
        return
    program = Program(binary, config, env={"SESSION_MANAGER": manager.address})
    registered = manager.expect("registered")
    found = program.find_window()
    check("session manager: the program registers and shows its window", registered and found,
          (registered, found, program.process.poll()))

    def mapped():
        return run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(program.process.pid),
                   "--name", "^Vostrel$").stdout.split()

    # Away from the seeded position, so that a store written by mistake differs from the seed.
    if found:
        run("xdotool", "windowmove", program.window, "200", "150")
        wait_for(lambda: program.geometry()[:2] == (200, 150), 3)
    position = program.geometry()[:2] if found else None
    seed = store_bytes(config)

    # A checkpoint (the session goes on) and a cancelled logout leave the window open and the store untouched.
    for command, name in [("checkpoint local", "a local checkpoint"), ("checkpoint", "a checkpoint"),
                          ("logout-cancel", "a cancelled logout")]:
        manager.send(command)
        done = manager.expect("save-yourself-done")
        closed = wait_for(lambda: not mapped(), 0.5)  # a close following the answer shows within this
        check(f"session manager: {name} is answered and leaves the window mapped", done and not closed,
              (done, "window gone" if closed else "window mapped", program.process.poll()))
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
    # The close stores each of the two entries once; a second close, or a write at a save, would add more.
    check("session manager: only the close wrote the store, one write per entry", writes.writes() == 2,
          writes.writes())
    manager.stop()


def wayland_case(check, binary, work):
    runtime = tempfile.mkdtemp(prefix="wayland-", dir=work)  # 0700, as a runtime folder must be
    socket = "vostrel-test"
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    environment["XDG_RUNTIME_DIR"] = runtime
    log = open(os.path.join(work, "weston.log"), "w")
    try:
        weston = subprocess.Popen(["weston", "--backend=headless-backend.so", f"--socket={socket}", "--idle-time=0",
                                   "--no-config"], env=environment, stdout=log, stderr=subprocess.STDOUT)
    except OSError as error:
        check("wayland: weston starts", False, error)
        return
    try:
        up = wait_for(lambda: os.path.exists(os.path.join(runtime, socket)) or weston.poll() is not None, 10)
        with open(log.name) as text:
            last = ([line.strip() for line in text if line.strip()] or ["nothing"])[-1]
        why = "no socket within 10 s" if weston.poll() is None else f"exited with {weston.returncode}"
        if not check("wayland: weston starts", up and weston.poll() is None, f"{why}; its last line: {last}"):
            return

        config = os.path.join(work, "wayland")
        shutil.rmtree(config, ignore_errors=True)
        write_store(config, SEED)
        environment.update(WAYLAND_DISPLAY=socket, XDG_CONFIG_HOME=config, WAYLAND_DEBUG="client")
        program = subprocess.Popen([binary], env=environment, stderr=subprocess.PIPE, text=True)
        # The protocol trace (WAYLAND_DEBUG) shows the window configured by the compositor: the window is up.
        lines = queue.Queue()
        threading.Thread(target=lambda: [lines.put(line.rstrip()) for line in program.stderr], daemon=True).start()
        said = []

        def configured():
            while not lines.empty():
                line = lines.get()
                if ".ack_configure(" in line:
                    return True
                if not line.startswith("["):
                    said.append(line)
            return False

        check("wayland: the window comes up as a native client", wait_for(configured, 10), program.poll())
        check("wayland: says once on standard error that it runs natively",
              len([line for line in said if "Wayland" in line]) == 1, said)
        program.send_signal(signal.SIGTERM)
        try:
            status = program.wait(5)
        except subprocess.TimeoutExpired:
            program.kill()
            status = "still running"
        check("wayland: SIGTERM exits with status 0", status == 0, status)
        check("wayland: the store is left byte for byte as it was", store_bytes(config) == SEED.encode(),
              store_bytes(config))
    finally:
        weston.terminate()
        try:
            weston.wait(5)
        except subprocess.TimeoutExpired:
            weston.kill()
        log.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    results = Results()
    session_manager_case(results.check, os.path.join(options.build, "app", "vostrel"),
                         os.path.join(options.build, "tests", "desktop", "session_manager"), options.work)
    wayland_case(results.check, os.path.join(options.build, "app", "vostrel"), options.work)
    print(f"desktop: {results.passed} passed, {results.failed} failed")
    return 0 if results.failed == 0 else 1


if __name__ == "__main__":
    raise SystemExit(main())
