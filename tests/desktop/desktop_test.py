#!/usr/bin/env python3
"""The program as a user meets it, on a real X server with a window manager: real input through XTest (xdotool),
checks from outside (window properties, screenshots, the clipboard, the X bell, the stored settings file)."""

import argparse
import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time

SCREEN = (1280, 800)
SIZE = (505, 18)
TWIPS = 15
NAVY = (0, 0, 128)


class Results:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, condition, seen=""):
        if condition:
            self.passed += 1
            print(f"PASS {name}")
        else:
            self.failed += 1
            print(f"FAIL {name}: saw {seen}")
        return condition


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=kwargs.pop("timeout", 20), **kwargs)


def wait_for(predicate, timeout=5.0, interval=0.05):
    """Polls until predicate() gives something true; returns its last value."""
    deadline = time.monotonic() + timeout
    value = predicate()
    while not value and time.monotonic() < deadline:
        time.sleep(interval)
        value = predicate()
    return value


def key(*keys):
    run("xdotool", "key", "--clearmodifiers", "--delay", "20", *keys)


def settle():
    time.sleep(0.25)


class BellCounter:
    """Counts XkbBellNotify events through the small X client built with the tests."""

    def __init__(self, binary):
        self.count = 0
        self.process = subprocess.Popen([binary], stdout=subprocess.PIPE, text=True)
        assert self.process.stdout.readline().strip() == "ready"
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            if line.strip() == "bell":
                self.count += 1

    def rings_during(self, action):
        before = self.count
        action()
        time.sleep(0.4)
        return self.count - before

    def stop(self):
        self.process.kill()


class Program:
    """One run of the built program with a private configuration folder."""

    def __init__(self, binary, config, env=None, user=None):
        environment = dict(os.environ, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=tempfile.mkdtemp())
        environment.update(env or {})
        command = [binary]
        if user is not None:
            os.chmod(environment["XDG_RUNTIME_DIR"], 0o777)
            command = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups", "--"] + command
        self.process = subprocess.Popen(command, env=environment, stderr=subprocess.PIPE, text=True)
        self.window = None

    def find_window(self, timeout=10, size=SIZE):
        def search():
            out = run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name", "^Vostrel$")
            ids = out.stdout.split()
            return ids[0] if ids else None

        self.window = wait_for(search, timeout)
        if self.window:
            wait_for(lambda: self.geometry()[2:] == size, 3)
        return self.window

    def geometry(self):
        out = run("xwininfo", "-id", self.window).stdout
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", out).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"))

    def exit_status(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return "still running"

    def rss_kib(self):
        with open(f"/proc/{self.process.pid}/status") as status:
            return int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))


def stored(config):
    path = os.path.join(config, "Vostrel", "Vostrel.conf")
    if not os.path.isfile(path):
        return None
    with open(path, errors="replace") as file:
        return file.read()


def stored_position(config):
    text = stored(config) or ""
    x = re.search(r"^xPos=(-?\d+)$", text, re.M)
    y = re.search(r"^yPos=(-?\d+)$", text, re.M)
    return (int(x.group(1)) if x else None, int(y.group(1)) if y else None)


def write_store(config, text):
    os.makedirs(os.path.join(config, "Vostrel"), exist_ok=True)
    with open(os.path.join(config, "Vostrel", "Vostrel.conf"), "w") as file:
        file.write(text)


SENTINEL = "<nothing copied>"

# Tab goes round the fields in this order.
TAB_ORDER = ["hex", "decimal", "binary"]


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard").stdout


def read_fields(focused):
    """Reads all three fields by going once round with Tab, copying each field's whole text with Ctrl+Insert.
    The focus ends where it started; the texts are untouched."""
    texts = {}
    position = TAB_ORDER.index(focused)
    for step in range(1, 4):
        field = TAB_ORDER[(position + step) % 3]
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=SENTINEL, text=True, timeout=5)
        key("Tab", "ctrl+Insert")
        copied = wait_for(lambda: clipboard() != SENTINEL and clipboard(), 1.0)
        texts[field] = copied if copied else ""
    return texts


def screenshot(path):
    run("import", "-window", "root", path)


def pixel(path, x, y):
    out = run("convert", path, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],%[fx:int(255*p{{{x},{y}}}.g)],"
              f"%[fx:int(255*p{{{x},{y}}}.b)]", "info:").stdout
    return tuple(int(v) for v in out.split(","))


def count_yellow(path, x, y, width, height):
    out = run("convert", path, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-fx",
              "(r>0.63 && g>0.63 && b<0.43) ? 1 : 0", "-format", "%[fx:int(mean*w*h+0.5)]", "info:").stdout
    return int(out or 0)


def drag(start, offset, steps=10):
    x, y = start
    run("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
    for i in range(1, steps + 1):
        run("xdotool", "mousemove", str(x + offset[0] * i // steps), str(y + offset[1] * i // steps))
        time.sleep(0.02)
    run("xdotool", "mouseup", "1")
    settle()


def centred():
    # Half the room in twips, rounded half to even, then to whole pixels.
    twips = [round((SCREEN[i] * TWIPS - SIZE[i] * TWIPS) / 2) for i in range(2)]
    return tuple(round(t / TWIPS) for t in twips)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--without-window-manager", action="store_true",
                        help="only the checks for a desktop whose window manager cannot move windows")
    options = parser.parse_args()
    binary = os.path.join(options.build, "app", "vostrel")
    results = Results()
    check = results.check
    bells = BellCounter(os.path.join(options.build, "tests", "desktop", "bell_counter"))
    work = options.work

    def fresh_config(name):
        path = os.path.join(work, name)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        return path

    if options.without_window_manager:
        # Nobody to ask for a move: the window follows the pointer itself while the left button is down.
        config = fresh_config("no-wm")
        program = Program(binary, config)
        program.find_window()
        x, y, _, _ = program.geometry()
        drag((x + 2, y + 9), (80, 40))
        moved = program.geometry()[:2]
        check("without a window manager, a left drag moves the window", moved == (x + 80, y + 40),
              (moved, (x + 80, y + 40)))
        drag((moved[0] + 130, moved[1] + 10), (-30, 20))
        check("without a window manager, a caption drag moves the window",
              program.geometry()[:2] == (moved[0] - 30, moved[1] + 20), program.geometry()[:2])
        run("xdotool", "mousemove", str(moved[0] - 28), str(moved[1] + 29), "click", "3")
        check("without a window manager, right click closes", program.exit_status() == 0, program.process.returncode)
        bells.stop()
        print(f"desktop: {results.passed} passed, {results.failed} failed")
        return 0 if results.failed == 0 else 1

    # --- Start, look, type, focus, beep, drag, close, reopen.
    config = fresh_config("main")
    program = Program(binary, config)
    if not check("window appears", program.find_window(), program.process.poll()):
        print(f"desktop: {results.passed} passed, {results.failed} failed")
        return 1
    x, y, width, height = program.geometry()
    check("window is 505 by 18", (width, height) == SIZE, (width, height))
    check("window opens centred", (x, y) == centred(), ((x, y), centred()))
    state = run("xprop", "-id", program.window, "_NET_WM_STATE").stdout
    check("window is kept above others", "_NET_WM_STATE_ABOVE" in state, state.strip())
    extents = run("xprop", "-id", program.window, "_NET_FRAME_EXTENTS").stdout
    check("window has no frame", "not found" in extents or "0, 0, 0, 0" in extents, extents.strip())

    shot = os.path.join(work, "start.png")
    screenshot(shot)
    for name, (px, py) in {"left edge": (2, 9), "above caption": (20, 1), "gap": (121, 9)}.items():
        check(f"navy background at {name}", pixel(shot, x + px, y + py) == NAVY, pixel(shot, x + px, y + py))
    for index, (cx, cw) in enumerate([(6, 48), (124, 60), (242, 48)]):
        yellow = count_yellow(shot, x + cx, y + 3, cw, 15)
        check(f"caption {index} drawn in yellow", yellow > 20, f"{yellow} yellow pixels")

    check("fields start at 0", read_fields("hex") == {"hex": "0", "decimal": "0", "binary": "0"}, read_fields("hex"))

    # Each sequence is typed into the focused field; Enter then moves to the other field.
    for index, (name, field, typed, expected) in enumerate([
        ("typing ff in hex", "hex", "ff", {"decimal": "255", "binary": "11111111"}),
        ("Enter then typing 123 in decimal", "decimal", "123", {"hex": "7B", "binary": "01111011"}),
        ("typing 80000000 in hex", "hex", "80000000",
         {"decimal": "-2147483648", "binary": "10000000,00000000,00000000,00000000"}),
        ("decimal overflow keeps the last good value", "decimal", "2147483648",
         {"hex": "0CCCCCCC", "binary": "00001100,11001100,11001100,11001100"}),
    ]):
        if index > 0:
            key("Return")
        run("xdotool", "type", "--delay", "30", typed)
        fields = read_fields(field)
        expected = dict(expected, **{field: typed.upper()})
        check(name, fields == expected, fields)
    key("Return")
    key(*["BackSpace"] * 9)
    fields = read_fields("hex")
    check("backspace to empty clears the others", fields == {"hex": "", "decimal": "", "binary": ""}, fields)

    for name, keys, expected in [
        ("refused letter g", ["g"], 1), ("refused Ctrl+C", ["ctrl+c"], 1), ("refused Ctrl+V", ["ctrl+v"], 1),
        ("refused Ctrl+X", ["ctrl+x"], 1), ("refused Ctrl+Z", ["ctrl+z"], 1), ("refused Ctrl+A", ["ctrl+a"], 1),
        ("refused minus", ["minus"], 1), ("Backspace is silent", ["BackSpace"], 0), ("digit is silent", ["5"], 0),
        ("Ctrl+Insert is silent", ["ctrl+Insert"], 0), ("arrow keys are silent", ["Left", "Right"], 0),
    ]:
        rung = bells.rings_during(lambda: key(*keys))
        check(f"bell: {name} rings {expected}", rung == expected, rung)
    rung = bells.rings_during(lambda: key("Return", "Return"))
    check("bell: Enter rings none", rung == 0, rung)
    key("BackSpace")
    run("xdotool", "type", "--delay", "30", "0")
    rung = bells.rings_during(lambda: key("0"))
    check("bell: second 0 is silent", rung == 0, rung)
    rung = bells.rings_during(lambda: key("Tab", "Tab", "1"))
    check("bell: digit in binary field rings once", rung == 1, rung)
    key("Tab")  # back to hex

    # Drag by the background and by a caption.
    x, y, _, _ = program.geometry()
    drag((x + 2, y + 9), (100, 50))
    moved = program.geometry()[:2]
    check("left drag on the background moves the window", moved == (x + 100, y + 50), (moved, (x + 100, y + 50)))
    x, y = moved
    drag((x + 130, y + 10), (-40, 30))
    moved = program.geometry()[:2]
    check("left drag on a caption moves the window", moved == (x - 40, y + 30), (moved, (x - 40, y + 30)))
    check("dragging stores nothing", stored(config) is None, stored(config))

    x, y = moved
    run("xdotool", "mousemove", str(x + 2), str(y + 9), "click", "2")
    settle()
    check("middle click does not close", program.process.poll() is None, program.process.poll())
    run("xdotool", "mousemove", str(x + 2), str(y + 9), "click", "3")
    status = program.exit_status()
    check("right click closes with status 0", status == 0, status)
    check("stored position is the window's in twips", stored_position(config) == (x * TWIPS, y * TWIPS),
          (stored_position(config), (x * TWIPS, y * TWIPS)))

    program = Program(binary, config)
    program.find_window()
    check("next start opens where it was closed", program.geometry()[:2] == (x, y), program.geometry()[:2])
    key("Escape")
    status = program.exit_status()
    check("Esc closes with status 0", status == 0, status)

    # A right click on a caption closes too.
    program = Program(binary, config)
    program.find_window()
    x, y, _, _ = program.geometry()
    run("xdotool", "mousemove", str(x + 250), str(y + 10), "click", "3")
    check("right click on a caption closes", program.exit_status() == 0, program.process.returncode)

    # The window manager's close (Alt+F4) runs the same close: the position is stored.
    config = fresh_config("alt-f4")
    program = Program(binary, config)
    program.find_window()
    x, y, _, _ = program.geometry()
    key("alt+F4")
    check("Alt+F4 closes with status 0", program.exit_status() == 0, program.process.returncode)
    check("Alt+F4 stores the position", stored_position(config) == (x * TWIPS, y * TWIPS), stored(config))

    # Another application's window, activated on top of the strip, stays below it.
    config = fresh_config("above")
    program = Program(binary, config)
    program.find_window()
    x, y, _, _ = program.geometry()
    other = subprocess.Popen([os.path.join(options.build, "bench", "qt_floor")], stderr=subprocess.DEVNULL)
    other_window = wait_for(lambda: run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(other.pid),
                                        "--class", "qt_floor").stdout.split(), 10)
    if other_window:
        run("xdotool", "windowmove", other_window[0], str(x), str(y), "windowactivate", "--sync", other_window[0])
        settle()
        stacking = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING").stdout
        order = [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", stacking)]
        ours, theirs = int(program.window), int(other_window[0])
        check("stays above another application's active window",
              ours in order and theirs in order and order.index(ours) > order.index(theirs), stacking.strip())
    else:
        check("stays above another application's active window", False, "the other window never appeared")
    other.kill()
    other.wait()
    run("xdotool", "windowactivate", "--sync", program.window)
    key("Escape")
    check("closes after the other window went", program.exit_status() == 0, program.process.returncode)

    # --- Stored positions off each edge come back on screen.
    for name, text, expected in [
        ("beyond right and bottom", "[Main]\nxPos=99999\nyPos=99999\n", (SCREEN[0] - SIZE[0], SCREEN[1] - SIZE[1])),
        ("beyond left and top", "[Main]\nxPos=-4000\nyPos=-70\n", (0, 0)),
        ("only left stored", "[Main]\nxPos=1500\n", (100, centred()[1])),
        ("not numbers", "[Main]\nxPos=abc\nyPos=1.5\n", centred()),
    ]:
        config = fresh_config("edge")
        write_store(config, text)
        program = Program(binary, config)
        program.find_window()
        check(f"stored position {name}", program.geometry()[:2] == expected, (program.geometry()[:2], expected))
        key("Escape")
        program.exit_status()

    def starts_centred_and_closes(name, config, user=None):
        program = Program(binary, config, user=user)
        found = program.find_window()
        check(f"{name}: starts centred", found and program.geometry()[:2] == centred(), program.process.poll())
        key("Escape")
        check(f"{name}: closes normally", program.exit_status() == 0, program.process.returncode)

    # --- Faults.
    config = fresh_config("kill")
    write_store(config, "[Main]\nxPos=1500\nyPos=1500\n")
    program = Program(binary, config)
    program.find_window()
    drag((program.geometry()[0] + 2, program.geometry()[1] + 9), (60, 60))
    program.process.kill()
    program.exit_status()
    check("kill -9 leaves the stored position", stored(config) == "[Main]\nxPos=1500\nyPos=1500\n", stored(config))

    config = fresh_config("random")
    write_store(config, "")
    with open(os.path.join(config, "Vostrel", "Vostrel.conf"), "wb") as file:
        file.write(os.urandom(4096))
    starts_centred_and_closes("a store of random bytes", config)

    config = fresh_config("folder")
    os.makedirs(os.path.join(config, "Vostrel", "Vostrel.conf"))
    starts_centred_and_closes("a store that is a folder", config)

    config = fresh_config("blocked")
    with open(os.path.join(config, "Vostrel"), "w"):
        pass  # the store's folder is a file: nothing can be written
    program = Program(binary, config)
    program.find_window()
    key("Escape")
    check("an unwritable store: closes normally", program.exit_status() == 0, program.process.returncode)

    if os.geteuid() == 0:
        # Unreadable and unwritable for an ordinary user: the store belongs to root, mode 000.
        config = fresh_config("unreadable")
        os.chmod(config, 0o755)
        write_store(config, "[Main]\nxPos=1500\nyPos=1500\n")
        os.chmod(os.path.join(config, "Vostrel", "Vostrel.conf"), 0)
        starts_centred_and_closes("an unreadable store", config, user=65534)
        os.chmod(os.path.join(config, "Vostrel", "Vostrel.conf"), 0o644)
        check("an unreadable store: left as it was", stored(config) == "[Main]\nxPos=1500\nyPos=1500\n",
              stored(config))

    # Two copies closing together leave whole entries, each from one of them.
    config = fresh_config("two")
    first = Program(binary, config)
    first.find_window()
    drag((first.geometry()[0] + 2, first.geometry()[1] + 9), (-200, -200))
    second = Program(binary, config)
    second.find_window()
    positions = {tuple(v * TWIPS for v in first.geometry()[:2]), tuple(v * TWIPS for v in second.geometry()[:2])}
    first.process.send_signal(signal.SIGTERM)
    second.process.send_signal(signal.SIGTERM)
    statuses = (first.exit_status(), second.exit_status())
    check("two copies closed together exit 0", statuses == (0, 0), statuses)
    left, top = stored_position(config)
    check("two copies closed together leave whole entries",
          left in {p[0] for p in positions} and top in {p[1] for p in positions}, (stored(config), positions))

    # 10,000 keys as fast as XTest sends them: texts consistent, no memory growth per edit.
    config = fresh_config("flood")
    program = Program(binary, config)
    program.find_window()
    key("Return")  # to the decimal field, its "0" selected
    burst = ["1", "2", "3", "4", "5", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace"] * 1000

    def flood():
        run("xdotool", "key", "--delay", "0", *burst, timeout=300)
        key("BackSpace")
        settle()

    flood()
    warm = program.rss_kib()
    flood()
    flood()
    grown = program.rss_kib() - warm
    check("20,000 more keys grow memory by less than 512 KiB", grown < 512, f"{grown} KiB")
    run("xdotool", "type", "--delay", "10", "42")
    fields = read_fields("decimal")
    check("after 30,000 fast keys the texts agree", fields == {"decimal": "42", "hex": "2A", "binary": "00101010"},
          fields)
    key("Escape")
    check("after 30,000 fast keys Esc closes with status 0", program.exit_status() == 0, program.process.returncode)

    # At a device pixel ratio of 2 the strip has twice the pixels, and the position is still stored in twips.
    config = fresh_config("hidpi")
    program = Program(binary, config, env={"QT_SCALE_FACTOR": "2"})
    program.find_window(size=(2 * SIZE[0], 2 * SIZE[1]))
    x, y, width, height = program.geometry()
    check("scale factor 2: window is 1010 by 36 pixels", (width, height) == (1010, 36), (width, height))
    key("Escape")
    program.exit_status()
    check("scale factor 2: position stored in twips of the scaled screen", stored_position(config) == (
        x // 2 * TWIPS, y // 2 * TWIPS), (stored_position(config), (x, y)))

    # Without any display the program says so and exits with an error, not a crash.
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    out = subprocess.run([binary], env=environment, capture_output=True, text=True, timeout=20)
    check("no display: one clear line and status 1",
          out.returncode == 1 and len(out.stderr.strip().splitlines()) == 1 and "display" in out.stderr,
          (out.returncode, out.stderr))
    environment["DISPLAY"] = ":4242"
    out = subprocess.run([binary], env=environment, capture_output=True, text=True, timeout=20)
    check("unreachable display: status 1, no crash", out.returncode == 1, (out.returncode, out.stderr))

    bells.stop()
    print(f"desktop: {results.passed} passed, {results.failed} failed")
    return 0 if results.failed == 0 else 1


if __name__ == "__main__":
    raise SystemExit(main())
