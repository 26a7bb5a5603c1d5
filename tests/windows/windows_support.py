# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""What the Windows cases share: the desktop of the Linux cases (a private Xvfb with openbox and the bell
counter, desktop_support.py), plus Wine in a prefix of the tests' own, the Windows program run from outside, and
the driver: a small Windows program of the tests' own in the same prefix that reads and drives the window as
another program would (driver.cpp). Every Wine command runs under a timeout (wine.sh).

A case is a function taking a WindowsDesktop, registered with @case; main() runs one case by name:

    python3 tests/windows/windows_test.py --build BUILD_DIR --case NAME

BUILD_DIR is a build for Windows (cmake/mingw-w64-x86_64.cmake). Exit status: 0 when every check passed, 1 when
one failed, 77 when no X server could be started."""

import json
import os
import queue
import subprocess
import sys
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "desktop"))
sys.dont_write_bytecode = True  # nothing written next to the sources
import desktop_support  # noqa: E402
from desktop_support import Abort, Desktop, run, wait_for  # noqa: E402

FIELDS = ("decimal", "hex", "binary")  # by field index
WM_CLOSE, WM_QUERYENDSESSION, WM_ENDSESSION, WM_SETTEXT, WM_DESTROY, WM_NCDESTROY = 0x10, 0x11, 0x16, 0x0C, 0x02, 0x82
EM_SETREADONLY = 0xCF
WM_UNICHAR, UNICODE_NOCHAR = 0x109, 0xFFFF
WM_DPICHANGED = 0x2E0
SW_MAXIMIZE, SW_MINIMIZE = 3, 6
REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ = 1, 2, 3, 4, 7
WS_POPUP, WS_CAPTION, WS_THICKFRAME = 0x80000000, 0x00C00000, 0x00040000
WS_EX_TOPMOST, WS_EX_TOOLWINDOW, WS_EX_APPWINDOW = 0x8, 0x80, 0x40000


def units(text):
    """Text as the driver takes it: its UTF-16 code units in hexadecimal."""
    data = text.encode("utf-16-be")
    return data.hex() or "-"


def text_bytes(text, terminated=True):
    """A REG_SZ value's bytes, in hexadecimal."""
    return (text.encode("utf-16-le") + (b"\0\0" if terminated else b"")).hex()


class Driver:
    """The driver program, one command per line, one JSON answer per line."""

    def __init__(self, desktop):
        self.process = subprocess.Popen([desktop.wine, desktop.prefix, desktop.driver_binary], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                        env=desktop.wine_environment())
        self.answers = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        if self._answer(60) != {"ready": True}:
            raise RuntimeError("the driver did not start")

    def _read(self):
        for line in self.process.stdout:
            try:
                self.answers.put(json.loads(line))
            except ValueError:
                self.answers.put({"error": line.strip()})
        self.answers.put(None)

    def _answer(self, timeout):
        try:
            return self.answers.get(timeout=timeout)
        except queue.Empty:
            return None

    def ask(self, *words, timeout=20):
        self.process.stdin.write(" ".join(str(word) for word in words) + "\n")
        self.process.stdin.flush()
        return self._answer(timeout) or {}

    def fields(self):
        answer = self.ask("fields")
        return {name: answer.get(name) for name in FIELDS} if "decimal" in answer else answer

    def window(self):
        return self.ask("window")

    def stored(self, name):
        """A value under HKCU\\Software\\Vostrel\\Main: (type, text of a REG_SZ or the bytes in hexadecimal), or
        None."""
        answer = self.ask("regget", name)
        if answer.get("type", -1) == -1:
            return None
        data = bytes.fromhex(answer["data"])
        if answer["type"] == REG_SZ:
            return REG_SZ, data.decode("utf-16-le", errors="replace").rstrip("\0")
        return answer["type"], answer["data"]

    def stored_position(self):
        values = [self.stored(name) for name in ("xPos", "yPos")]
        return tuple(int(v[1]) if v and v[0] == REG_SZ and v[1].lstrip("-").isdigit() else None for v in values)

    def store(self, name, type_, data_hex):
        return self.ask("regset", name, type_, data_hex or "-").get("status")

    def stop(self):
        try:
            self.process.stdin.close()
            self.process.wait(10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()


class WineProgram:
    """One run of vostrel.exe (the one built, or `exe`) under Wine."""

    def __init__(self, desktop, exe=None):
        self.desktop = desktop
        self.process = subprocess.Popen([desktop.wine, desktop.prefix, exe or desktop.binary],
                                        env=desktop.wine_environment(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, errors="replace")
        self.errors = []
        threading.Thread(target=lambda: self.errors.extend(self.process.stderr), daemon=True).start()
        self.x_window = None

    def exit_status(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return "still running"

    def pid(self):
        """The process that holds the window (the one Wine runs the program in)."""
        found = run("xdotool", "getwindowpid", self.x_window).stdout.strip() if self.x_window else ""
        return int(found) if found.isdigit() else None

    def position(self):
        window = self.desktop.driver.window()
        return window.get("left"), window.get("top")

    def wait_position(self, expected, timeout=3):
        return expected if wait_for(lambda: self.position() == expected, timeout) else self.position()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class WindowsDesktop(Desktop):
    """A desktop of the Linux cases with Wine on it: the program and the driver run in the tests' prefix for
    desktops, whose Wine processes all end with the case."""

    pointer_settles = False

    def __init__(self, build, name, results):
        super().__init__(build, name, results)
        self.binary = os.path.join(self.build, "app", "vostrel.exe")
        self.driver_binary = os.path.join(self.build, "tests", "windows", "driver.exe")
        self.wine = os.path.join(HERE, "wine.sh")
        self.prefix = os.path.join(self.build, "wineprefix-desktop")
        self.driver = None

    def wine_environment(self):
        return dict(os.environ)

    def wine_run(self, *arguments, timeout=60):
        """Runs a Windows program in the prefix to its end; its exit status."""
        return subprocess.run([self.wine, self.prefix, *arguments], env=self.wine_environment(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode

    def unix_path(self, windows_path):
        """Where a path on the prefix's drive C lies here."""
        drive, _, rest = windows_path.partition(":\\")
        return os.path.join(self.prefix, "drive_" + drive.lower(), *rest.split("\\"))

    def start_bell_counter(self):
        try:
            self.bells = desktop_support.BellCounter(os.path.join(self.build, "build_machine", "bell_counter"))
        except (OSError, RuntimeError) as error:
            self.check("the bell counter starts", False, error)
            raise Abort() from None

    def start_driver(self):
        """The driver, started at the first call; the case then begins with nothing stored and the prefix's desktop
        at 96 dpi, whatever an earlier case left in the prefix."""
        if self.driver is None:
            try:
                self.driver = Driver(self)
            except (OSError, RuntimeError) as error:
                self.check("the driver starts", False, error)
                raise Abort() from None
            self.driver.ask("regclear")
            self.driver.ask("desktopdpi", 96)
        return self.driver

    def start(self, config=None, env=None, user=None, exe=None):
        self.start_driver()
        program = WineProgram(self, exe)
        self.programs.append(program)
        return program

    def start_shown(self, config=None, env=None, size=desktop_support.SIZE, exe=None):
        """Starts the program (the one built, or `exe`) and waits for its window, shown at `size` with the
        hexadecimal field focused; a window that never comes ends the case."""
        program = self.start(exe=exe)
        found = self.driver.ask("find", 20000, timeout=30).get("window")
        if found:
            wait_for(lambda: self.driver.window().get("focus") == 1, 5)
            ids = wait_for(lambda: run("xdotool", "search", "--onlyvisible", "--name", "^Vostrel$").stdout.split(), 5)
            program.x_window = ids[0] if ids else None
            # Keys go to the window the X server has focused: wait for the window manager to give it the focus.
            wait_for(lambda: run("xdotool", "getwindowfocus").stdout.strip() == program.x_window, 5)
        if not found or not program.x_window:
            self.check("window appears", False, f"exit status {program.process.poll()}, {''.join(program.errors)!r}")
            raise Abort()
        return program

    def start_other_application(self):
        """Starts another application (Wine's Notepad) and makes its window the active one; its X window, or None."""
        other = subprocess.Popen([self.wine, self.prefix, "notepad.exe"], env=self.wine_environment(),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append((other, "kill"))
        found = wait_for(lambda: run("xdotool", "search", "--onlyvisible", "--class", "notepad.exe").stdout.split(), 15)
        if not found:
            return None
        run("xdotool", "windowactivate", "--sync", found[0])
        active = wait_for(lambda: found[0] in run("xdotool", "getactivewindow").stdout, 5)
        return found[0] if active else None

    def fields_become(self, expected, timeout=5):
        """Polls the fields until they are as expected; returns them as last read."""
        seen = [None]

        def read():
            seen[0] = self.driver.fields()
            return seen[0] == expected

        wait_for(read, timeout)
        return seen[0]

    def round_trip(self, timeout=10):
        """A round trip through the program by the X keyboard, as the Linux cases make it: the clipboard gets a
        sentinel, then Shift+Tab and Tab put the focus back on the same field (selecting its whole text) and
        Ctrl+Insert copies it. Once the clipboard has changed, the program has handled every key sent before.
        Needs a field that is not empty. Returns the copied text, or None."""
        sentinel = f"<nothing copied {os.getpid()}-{len(self.programs)}-{id(self)}>"
        self.driver.ask("clip", units(sentinel))
        desktop_support.key("shift+Tab", "Tab", "ctrl+Insert")

        def copied():
            text = self.driver.ask("clipget").get("clip")
            return text if text != sentinel else None

        return wait_for(copied, timeout)

    def tear_down(self):
        if self.driver:
            self.driver.stop()
        for program in self.programs:
            program.stop()
        # Everything of Wine's in the prefix ends with the case: the next case's programs meet a display of their own.
        env = dict(os.environ, WINEPREFIX=self.prefix)
        subprocess.run(["timeout", "20", "wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["timeout", "20", "wineserver", "-w"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self.programs = []
        super().tear_down()


CASES = {}
case = desktop_support.case_registry(CASES, ["app/vostrel.exe", "tests/windows/driver.exe"],
                                     "build_machine/bell_counter")


def main(description):
    return desktop_support.main(description, CASES, WindowsDesktop, suite="windows")
