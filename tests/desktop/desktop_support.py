# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""What the desktop test cases share: a private desktop for one case (its own Xvfb, openbox, bell counter, HOME and
XDG folders, all torn down at the end), the program run from outside, real input through XTest (xdotool), and the
ways to look at it (window properties, screenshots, the clipboard, the X bell, the stored settings file).

A case is a function taking a Desktop, registered with @case; main() runs one case by name:

    python3 tests/desktop/desktop_test.py --build BUILD_DIR --case NAME

Exit status: 0 when every check passed, 1 when one failed (a missing tool or binary is a failure), 77 when the
case needs an X server and none could be started."""

import argparse
import ctypes
import os
import queue
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import traceback

SCREEN = (1280, 800)
SIZE = (505, 18)
TWIPS = 15
NAVY = (0, 0, 128)

# Tab goes round the fields in this order.
TAB_ORDER = ["hex", "decimal", "binary"]

SKIPPED = 77

# The window managers the cases run under, each started on the case's own X server: openbox, Xfce's, GNOME's on
# X11 (metacity shares mutter's ways) and KDE's. The first is every case's; a case that names others runs under
# each of them too, as a CTest case of its own (NAME.MANAGER). All but openbox want a session bus of their own
# (xfwm4 starts its settings daemon there); kwin_x11 runs without compositing, which through llvmpipe is slow
# and can stall. Each runs in a process group of its own, ended with the case: a session bus leaves the services
# it started (the accessibility bus and its launcher, xfconfd) running when it ends.
WINDOW_MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
    "xfwm4": ["dbus-run-session", "--", "xfwm4", "--compositor=off", "--sm-client-disable"],
    "metacity": ["dbus-run-session", "--", "metacity", "--replace", "--sm-disable"],
    "kwin_x11": ["env", "KWIN_COMPOSE=N", "QT_QPA_PLATFORM=xcb", "dbus-run-session", "--", "kwin_x11", "--replace"],
}
DEFAULT_MANAGER = "openbox"
# What a user meets first and most with the mouse: the cases that run under every window manager above.
EVERY_MANAGER = tuple(WINDOW_MANAGERS)

# Variables through which the real user's display, session or settings could reach a case.
FOREIGN = ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "XAUTHORITY", "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS",
           "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "XDG_DATA_HOME", "XDG_CACHE_HOME",
           "XDG_STATE_HOME", "XMODIFIERS", "GTK_IM_MODULE", "QT_IM_MODULE", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME",
           "QT_STYLE_OVERRIDE", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
           "QT_ENABLE_HIGHDPI_SCALING")


# What a user types and sees, shared by the suites of every platform.

# Typed into the focused field, the first into the hexadecimal field after start-up, Enter before each of the
# others: (name, field typed into, keys as xdotool types them, what the other two fields then show).
TYPING_STEPS = [
    ("typing ff in hex", "hex", "ff", {"decimal": "255", "binary": "11111111"}),
    ("Enter then typing 123 in decimal", "decimal", "123", {"hex": "7B", "binary": "01111011"}),
    ("typing 80000000 in hex", "hex", "80000000",
     {"decimal": "-2147483648", "binary": "10000000,00000000,00000000,00000000"}),
    ("decimal overflow keeps the last good value", "decimal", "2147483648",
     {"hex": "0CCCCCCC", "binary": "00001100,11001100,11001100,11001100"}),
]

# Keys pressed in the hexadecimal field, which holds "0" at start-up and has its whole text selected before each
# row, and the bells they ring: (name, xdotool key names, bells, keys pressed first and not counted).
BELL_STEPS = [(f"refused {'letter ' if name == 'g' else ''}{name} rings 1", [keys], 1, [])
              for name, keys in [("g", "g"), ("Ctrl+C", "ctrl+c"), ("Ctrl+V", "ctrl+v"), ("Ctrl+X", "ctrl+x"),
                                 ("Ctrl+Z", "ctrl+z"), ("Ctrl+A", "ctrl+a"), ("minus", "minus")]] + [
    ("digit is silent rings 0", ["5"], 0, []),  # typed over the selected "0"
    ("Ctrl+Insert is silent rings 0", ["ctrl+Insert"], 0, []),
    ("arrow keys are silent rings 0", ["Left", "Right"], 0, []),
    # Right ends the selection, so that Backspace takes one character of "56" and the field is not empty.
    ("Backspace is silent rings 0", ["Right", "BackSpace"], 0, ["Right", "6"]),
    ("Enter rings none", ["Return", "Return"], 0, []),
    # A field holding just "0", the caret after it.
    ("second 0 is silent", ["Right", "0"], 0, ["0"]),
    ("digit in binary field rings once", ["Tab", "Tab", "1"], 1, []),
]


def check_bell_steps(check, round_trip, bells):
    """Presses each row of BELL_STEPS in the focused field (whose whole text is selected, after the last round
    trip) and checks the bells it rang. After each key a round trip through the program (round_trip() gives None
    when nothing came back) and one through the X server (the bell counter's sync) come before the count is read;
    a row's setup keys are pressed and synchronised first, their bells not counted."""
    def synced():
        copied = round_trip()
        total = bells.sync()
        return total if copied is not None else None

    counted = synced()
    for name, keys, expected, setup in BELL_STEPS:
        if setup:
            key(*setup)
            counted = synced()
        before = counted
        key(*keys)
        counted = synced()
        if before is None or counted is None:
            check(f"bell: {name}", False, "no round trip through the program: nothing copied")
            continue
        check(f"bell: {name}", counted - before == expected, counted - before)


def check_drags(desktop, program):
    """From the centre, a drag on the background, one on a caption, and the same again read late by a busy program:
    each must move the window with the pointer. Where the window ends."""
    moved = program.wait_position(centred())
    for name, grab, offset, busy in [
            ("left drag on the background", (2, 9), (100, 50), False),
            ("left drag on a caption", (130, 10), (-40, 30), False),
            ("left drag on a caption, read late by a busy program", (130, 10), (-40, 30), True)]:
        x, y = moved
        desktop.drag((x + grab[0], y + grab[1]), offset, busy=busy)
        want = (x + offset[0], y + offset[1])
        moved = program.wait_position(want)
        desktop.check(f"{name} moves the window with the pointer", moved == want, (moved, want))
    return moved


def check_stays_above(check, ours, theirs):
    """Once the window manager has made the other window (theirs) active, which raises it, and lists both: ours
    must still be above it in the stacking order."""
    def stacking():
        active = run("xprop", "-root", "_NET_ACTIVE_WINDOW").stdout
        listed = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING").stdout
        order = [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", listed)]
        done = theirs in [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", active)] and {ours, theirs} <= set(order)
        return (order, listed.strip()) if done else None

    order, listed = wait_for(stacking, 5) or ([], "the other window never became active")
    check("stays above another application's active window",
          ours in order and theirs in order and order.index(ours) > order.index(theirs), listed)


def adopt_orphans():
    """Makes this process the one that a process it started, left without its parent, passes to, so that it can be
    reaped here and ended with its group (PR_SET_CHILD_SUBREAPER)."""
    ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)


def reap():
    """Collects every process of this one's that has ended, its own or an orphan passed to it. Only once every
    process it started has been waited for: an exit status collected here is lost to its Popen."""
    try:
        while os.waitpid(-1, os.WNOHANG)[0] > 0:
            pass
    except ChildProcessError:
        pass


def stat_fields(pid):
    """A process's fields after its name in /proc (state, parent, group, ...); [] once it has gone."""
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()
    except (OSError, IndexError):
        return []


def group_running(group):
    """Whether a process of the group still runs (an ended one waiting to be collected does not)."""
    return any((fields := stat_fields(name)) and int(fields[2]) == group and fields[0] not in ("Z", "X")
               for name in os.listdir("/proc") if name.isdigit())


def end_group(group):
    """Ends every process of a process group, and waits until none runs: asked to end, then killed."""
    for number in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(group, number)
        except ProcessLookupError:
            return
        if wait_for(lambda: not group_running(group), 5):
            return


class Skip(Exception):
    """No X server could be started."""


class Abort(Exception):
    """The case cannot go on; what stopped it has been reported as a failure."""


def wait_for(predicate, timeout=5.0, interval=0.02):
    """Polls until predicate() gives something true, or the time is up; returns its last value."""
    deadline = time.monotonic() + timeout
    value = predicate()
    while not value and time.monotonic() < deadline:
        time.sleep(interval)
        value = predicate()
    return value


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=kwargs.pop("timeout", 20), **kwargs)


def last_line(path):
    try:
        with open(path, errors="replace") as file:
            lines = [line.strip() for line in file if line.strip()]
    except OSError:
        return "no log"
    return lines[-1] if lines else "nothing logged"


class Results:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, condition, seen=""):
        if condition:
            self.passed += 1
            print(f"PASS {name}", flush=True)
        else:
            self.failed += 1
            print(f"FAIL {name}: saw {seen}", flush=True)
        return condition


# --- The settings file.

def store_path(config):
    return os.path.join(config, "Vostrel", "Vostrel.conf")


def stored(config):
    path = store_path(config)
    if not os.path.isfile(path):
        return None
    with open(path, errors="replace") as file:
        return file.read()


def store_bytes(config):
    try:
        with open(store_path(config), "rb") as file:
            return file.read()
    except OSError as error:
        return repr(error)


def stored_position(config):
    text = stored(config) or ""
    x = re.search(r"^xPos=(-?\d+)$", text, re.M)
    y = re.search(r"^yPos=(-?\d+)$", text, re.M)
    return (int(x.group(1)) if x else None, int(y.group(1)) if y else None)


def write_store(config, text):
    os.makedirs(os.path.join(config, "Vostrel"), exist_ok=True)
    with open(store_path(config), "w") as file:
        file.write(text)


def centred():
    # Half the room in twips, rounded half to even, then to whole pixels.
    twips = [round((SCREEN[i] * TWIPS - SIZE[i] * TWIPS) / 2) for i in range(2)]
    return tuple(round(t / TWIPS) for t in twips)


# --- Looking from outside.

def key(*keys, clear_modifiers=True):
    """Presses keys in the focused window. Clearing the modifiers first also lets go of the mouse buttons."""
    run("xdotool", "key", *(["--clearmodifiers"] if clear_modifiers else []), "--delay", "20", *keys)


def type_text(text, delay=30):
    run("xdotool", "type", "--delay", str(delay), text)


def click(x, y, button):
    run("xdotool", "mousemove", str(x), str(y), "click", str(button))


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard").stdout


def set_clipboard(text):
    """Makes xclip own the clipboard with text, and waits until it does (xclip takes it in the background)."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text, text=True, timeout=5,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return wait_for(lambda: clipboard() == text, 5)


def screenshot(path):
    run("import", "-window", "root", path)


def pixel(path, x, y):
    out = run("convert", path, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],%[fx:int(255*p{{{x},{y}}}.g)],"
              f"%[fx:int(255*p{{{x},{y}}}.b)]", "info:").stdout
    try:
        return tuple(int(v) for v in out.split(","))
    except ValueError:
        return out


def count_yellow(path, x, y, width, height):
    out = run("convert", path, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-fx",
              "(r>0.63 && g>0.63 && b<0.43) ? 1 : 0", "-format", "%[fx:int(mean*w*h+0.5)]", "info:").stdout
    return int(out) if out.strip().isdigit() else 0


def visible_windows(pid, name="^Vostrel$"):
    return run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", name).stdout.split()


class BellCounter:
    """The small X client built with the tests: counts XkbBellNotify events. `live` follows the bells as they come;
    sync() answers with every bell the server rang before it. `moves` counts the moves asked of the window manager
    (_NET_WM_MOVERESIZE)."""

    def __init__(self, binary):
        self.live = 0
        self.moves = 0
        self.answers = queue.Queue()
        self.process = subprocess.Popen([binary], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.ready = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        try:
            self.ready.get(timeout=10)
        except queue.Empty:
            raise RuntimeError("the bell counter did not start") from None

    def _read(self):
        for line in self.process.stdout:
            line = line.strip()
            if line == "ready":
                self.ready.put(True)
            elif line == "bell":
                self.live += 1
            elif line == "moveresize":
                self.moves += 1
            elif line.startswith("synced "):
                self.answers.put(int(line.split()[1]))
            elif line.startswith("pointer "):
                self.answers.put(line == "pointer free")

    def sync(self, timeout=10):
        """The number of bells rung so far, after a round trip with the X server; None if it did not answer."""
        self.process.stdin.write("sync\n")
        self.process.stdin.flush()
        try:
            return self.answers.get(timeout=timeout)
        except queue.Empty:
            return None

    def pointer_free(self, timeout=10):
        """Whether no other client holds the pointer, as a window manager does while it moves a window."""
        self.process.stdin.write("pointer\n")
        self.process.stdin.flush()
        try:
            return self.answers.get(timeout=timeout)
        except queue.Empty:
            return False

    def stop(self):
        try:
            self.process.stdin.close()
            self.process.wait(5)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()


class Program:
    """One run of the built program with a configuration folder of its own."""

    def __init__(self, desktop, config, env=None, user=None):
        self.desktop = desktop
        environment = dict(os.environ, XDG_CONFIG_HOME=config)
        environment.update(env or {})
        command = [desktop.binary]
        if user is not None:
            runtime = tempfile.mkdtemp(prefix="runtime-", dir=desktop.root)
            os.chmod(runtime, 0o777)
            environment["XDG_RUNTIME_DIR"] = runtime
            command = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups", "--"] + command
        self.process = subprocess.Popen(command, env=environment, stderr=subprocess.PIPE, text=True,
                                        errors="replace")
        # Read all along, so that a talkative program never blocks on a full pipe.
        self.errors = []
        threading.Thread(target=lambda: self.errors.extend(self.process.stderr), daemon=True).start()
        self.window = None

    def find_window(self, timeout=10, size=SIZE):
        """Waits for the program's window to be mapped at the given size and to have the keyboard focus (the window
        manager gives it a moment after the window is mapped; keys sent before would go elsewhere); returns its id
        or None."""
        def search():
            ids = visible_windows(self.process.pid)
            return ids[0] if ids else None

        self.window = wait_for(search, timeout)
        if self.window:
            wait_for(lambda: self.geometry()[2:] == size, 3)
            wait_for(self.focused, 3)
            # The window manager's own keys (Alt+F4) act on the window it holds active, a moment after the X focus.
            if self.desktop.window_manager:
                wait_for(self.active, 3)
        return self.window

    def active(self):
        out = run("xprop", "-root", "_NET_ACTIVE_WINDOW").stdout
        return any(int(w, 16) == int(self.window) for w in re.findall(r"0x[0-9a-f]+", out))

    def focused(self):
        return run("xdotool", "getwindowfocus").stdout.strip() == self.window

    def geometry(self):
        out = run("xwininfo", "-id", self.window).stdout
        found = [re.search(label + r":\s+(-?\d+)", out) for label in
                 ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
        return tuple(int(m.group(1)) if m else None for m in found)

    def position(self):
        return self.geometry()[:2]

    def wait_position(self, expected, timeout=3):
        """Polls until the window is at expected; returns where it was last seen."""
        return expected if wait_for(lambda: self.position() == expected, timeout) else self.position()

    def mapped(self):
        return bool(visible_windows(self.process.pid))

    def exit_status(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return "still running"

    def pid(self):
        return self.process.pid

    def rss_kib(self):
        with open(f"/proc/{self.process.pid}/status") as status:
            return int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


class Desktop:
    """Everything one case runs on. Brought up by main() before the case and torn down after it."""

    # Whether a drag asks first that no window manager still holds the pointer (under Wine, on this X server, the
    # question goes unanswered for seconds, and Wine's drags have not needed it).
    pointer_settles = True

    def __init__(self, build, name, results):
        self.build = os.path.abspath(build)
        self.name = name
        self.results = results
        self.check = results.check
        self.binary = os.path.join(self.build, "app", "vostrel")
        self.root = tempfile.mkdtemp(prefix=f"vostrel-desktop-{name}-")
        self.processes = []  # started here, stopped at the end: (process, how to stop it)
        self.programs = []
        self.bells = None
        self.window_manager = None  # the name of the one running
        self.configs = 0
        self.home = os.path.join(self.root, "home")
        self.runtime = os.path.join(self.root, "runtime")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        for variable in FOREIGN:
            os.environ.pop(variable, None)
        os.environ.update(HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                          XDG_RUNTIME_DIR=self.runtime, XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                          XDG_CACHE_HOME=os.path.join(self.home, ".cache"), PYTHONDONTWRITEBYTECODE="1")

    def path(self, name):
        return os.path.join(self.root, name)

    def fresh_config(self, name):
        """An empty folder for the program's XDG_CONFIG_HOME."""
        self.configs += 1
        path = os.path.join(self.root, f"config-{self.configs}-{name}")
        os.makedirs(path)
        return path

    def spawn(self, command, stop="terminate", **kwargs):
        """Starts a process that the case's end stops: `stop` names the Popen method, or "group" for one started in
        a process group of its own, which ends with everything in it."""
        process = subprocess.Popen(command, start_new_session=stop == "group", **kwargs)
        self.processes.append((process, stop))
        return process

    def start(self, config, env=None, user=None):
        program = Program(self, config, env, user)
        self.programs.append(program)
        return program

    def start_shown(self, config, env=None, size=SIZE):
        """Starts the program and waits for its window; a window that never comes ends the case."""
        program = self.start(config, env)
        if not program.find_window(size=size):
            self.check("window appears", False,
                       f"exit status {program.process.poll()}, {''.join(program.errors).strip()!r}")
            raise Abort()
        return program

    # --- Bringing up the desktop.

    def require(self, tools=(), binaries=()):
        """A missing tool or binary is a failure, one line each."""
        missing = [(tool, "not on PATH") for tool in tools if not shutil.which(tool)]
        missing += [(binary, f"not built in {self.build}") for binary in binaries
                    if not os.path.isfile(os.path.join(self.build, binary))]
        for what, why in missing:
            self.check(f"needs {what}", False, why)
        if missing:
            raise Abort()

    def start_x_server(self):
        """A private Xvfb on a display it picks itself (-displayfd), so that cases running at once never meet."""
        xvfb = shutil.which("Xvfb")
        if not xvfb:
            raise Skip("Xvfb could not start: Xvfb is not on PATH")
        log_path = self.path("xvfb.log")
        read_end, write_end = os.pipe()
        try:
            with open(log_path, "w") as log:
                server = self.spawn([xvfb, "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten",
                                     "tcp", "-noreset"], pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT)
        except OSError as error:
            os.close(read_end)
            raise Skip(f"Xvfb could not start: {error}") from None
        finally:
            os.close(write_end)
        answer = b""
        deadline = time.monotonic() + 20
        with os.fdopen(read_end, "rb", buffering=0) as reader:
            while b"\n" not in answer and time.monotonic() < deadline:
                if select.select([reader], [], [], max(0.0, deadline - time.monotonic()))[0]:
                    chunk = reader.read(64)
                    if not chunk:
                        break  # Xvfb closed it, or exited
                    answer += chunk
        number = answer.strip().decode(errors="replace")
        if not number.isdigit():
            try:
                server.wait(2)  # it closed the pipe: it is on its way out
            except subprocess.TimeoutExpired:
                pass
            why = f"exited with status {server.poll()}" if server.poll() is not None else "no display number in 20 s"
            raise Skip(f"Xvfb could not start: {why}; its last line: {last_line(log_path)}")
        os.environ["DISPLAY"] = f":{number}"

    def start_window_manager(self, name):
        log_path = self.path(f"{name}.log")
        with open(log_path, "w") as log:
            manager = self.spawn(WINDOW_MANAGERS[name], stop="group", stdin=subprocess.DEVNULL, stdout=log,
                                 stderr=subprocess.STDOUT)
        up = wait_for(lambda: manager.poll() is not None or
                      "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, 20)
        if not up or manager.poll() is not None or not self.window_manager_takes_windows():
            self.check(f"{name} starts", False, f"exit status {manager.poll()}; its last line: {last_line(log_path)}")
            raise Abort()
        self.window_manager = name

    def window_manager_takes_windows(self):
        """A window manager may claim the screen before it has started up (openbox does): a window mapped in between
        may never be managed (its request to be mapped is lost). A window of the tests' own, once managed, shows
        that it has; the request is made again if it was lost."""
        probe = subprocess.Popen(["xmessage", "-name", "vostrel-probe", "-timeout", "30", "probe"],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def managed():
            listed = [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", run("xprop", "-root", "_NET_CLIENT_LIST").stdout)]
            ids = run("xdotool", "search", "--classname", "vostrel-probe").stdout.split()
            return bool(ids) and all(int(i) in listed for i in ids)

        taken = wait_for(managed, 3)
        for window in [] if taken else run("xdotool", "search", "--classname", "vostrel-probe").stdout.split():
            run("xdotool", "windowmap", window)
        taken = taken or wait_for(managed, 5)
        probe.kill()
        probe.wait()
        wait_for(lambda: not re.search(r"0x[0-9a-f]+", run("xprop", "-root", "_NET_CLIENT_LIST").stdout), 5)
        return taken

    def start_bell_counter(self):
        try:
            self.bells = BellCounter(os.path.join(self.build, "tests", "desktop", "bell_counter"))
        except (OSError, RuntimeError) as error:
            self.check("the bell counter starts", False, error)
            raise Abort() from None

    def tear_down(self):
        for program in self.programs:
            program.stop()
        if self.bells:
            self.bells.stop()
        for process, stop in reversed(self.processes):  # the X server last
            if process.stdin and process.poll() is None:
                process.stdin.close()  # the end of its input is the end of a helper reading commands
                try:
                    process.wait(2)
                except subprocess.TimeoutExpired:
                    pass
            if stop == "group":
                end_group(process.pid)
            elif process.poll() is None:
                getattr(process, stop)()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        reap()  # the groups' orphans, passed to this process
        for folder, _, _ in os.walk(self.root):
            os.chmod(folder, 0o700)
        shutil.rmtree(self.root, ignore_errors=True)

    # --- Synchronising with the program.

    def drag(self, start, offset, steps=10, busy=False):
        """A left-button drag through XTest, a few milliseconds between the pointer moves. The program starts the
        move once the press has become a drag: the first step goes a third of the way, past the desktop's drag
        distance, and the pointer waits there until the move has started, which is anchored where the button went
        down. With a window manager the move is asked of it (_NET_WM_MOVERESIZE), which is checked: a window that
        followed the pointer by itself would end in the same place; without, a round trip through the program
        (copy_focused). busy: the program is stopped until the first step has come, so that it reads the press
        and the pointer's first motion together, as a busy program does."""
        x, y = start
        moves = self.bells.moves
        # A window manager that is still ending the last move would take the press.
        if self.pointer_settles:
            wait_for(self.bells.pointer_free, 5)
        pid = self.programs[-1].pid() if busy else None
        if busy:
            self.check("the busy program's process is found", pid is not None, None)
        try:
            if pid:
                os.kill(pid, signal.SIGSTOP)
                wait_for(lambda: stat_fields(pid)[:1] == ["T"], 5)
            run("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
            run("xdotool", "mousemove", "--sync", str(x + round(offset[0] / 3)), str(y + round(offset[1] / 3)))
        finally:
            if pid:
                os.kill(pid, signal.SIGCONT)
        if self.window_manager:
            asked = wait_for(lambda: self.bells.moves > moves, 5)
            self.check("the drag asks the window manager for the move", asked, "no _NET_WM_MOVERESIZE")
        else:
            self.copy_focused(clear_modifiers=False)  # the left button stays down
        for fraction in [i / steps for i in range(1, steps + 1) if i / steps > 1 / 3]:
            time.sleep(0.02)
            run("xdotool", "mousemove", str(x + round(offset[0] * fraction)), str(y + round(offset[1] * fraction)))
        time.sleep(0.02)
        run("xdotool", "mouseup", "1")

    def copy_focused(self, timeout=10, clear_modifiers=True):
        """A round trip through the program: the clipboard gets a sentinel, then Shift+Tab and Tab put the focus
        back on the same field (every focus change selects the whole text) and Ctrl+Insert copies it. Once the
        clipboard has changed, the program has handled every event sent before. Needs a field that is not empty;
        leaves its whole text selected. Returns the copied text, or None when nothing came."""
        sentinel = f"<nothing copied {time.monotonic_ns()}>"
        if not set_clipboard(sentinel):
            return None
        key("shift+Tab", "Tab", "ctrl+Insert", clear_modifiers=clear_modifiers)

        def copied():
            if (text := clipboard()) != sentinel:
                return text
            return None if self.running() else "<no program running>"

        text = wait_for(copied, timeout)
        return text if text and text != "<no program running>" else None

    def running(self):
        return any(program.process.poll() is None for program in self.programs)

    def read_fields(self, focused):
        """Reads all three fields by going once round with Tab, copying each field's whole text with Ctrl+Insert.
        Each copy is followed by a refused key ("g") whose bell proves that the program handled the copy, so that an
        empty field (which copies nothing) reads as "" without waiting out a time. The focus ends where it
        started, its whole text selected; the texts are untouched."""
        texts = {}
        position = TAB_ORDER.index(focused)
        for step in range(1, 4):
            field = TAB_ORDER[(position + step) % 3]
            sentinel = f"<nothing copied {time.monotonic_ns()}>"
            if not set_clipboard(sentinel):
                texts[field] = "<the clipboard could not be set>"
                continue
            before = self.bells.live
            key("Tab", "ctrl+Insert", "g")
            if not wait_for(lambda: self.bells.live > before, 10):
                texts[field] = "<no bell after the copy>"
                continue
            copied = clipboard()
            texts[field] = "" if copied == sentinel else copied
        return texts


# --- Running one case.

CASES = {}


def case_registry(cases, programs, bell_counter):
    """A decorator that registers cases in `cases`; every case needs `programs` (relative to the build folder), and
    those with a display `bell_counter` too."""
    def case(display=True, window_manager=True, managers=(DEFAULT_MANAGER,), tools=(), binaries=()):
        """Registers a case. display: it needs a private X server; window_manager: with a window manager on it,
        under each of `managers` in turn (the first under the case's own name, the others as NAME.MANAGER); tools
        and binaries (relative to the build folder): what it needs besides."""
        def register(function):
            built = list(programs) + ([bell_counter] if display else []) + list(binaries)
            runs = managers if window_manager and display else (None,)
            for manager in runs:
                needs = set(tools) | {"xdotool", "xwininfo", "xprop", "xclip"} if display else set(tools)
                if manager:
                    needs |= {manager, WINDOW_MANAGERS[manager][0]}
                name = function.__name__ if manager in (None, managers[0]) else f"{function.__name__}.{manager}"
                cases[name] = (function, display, manager, sorted(needs), built)
            return function
        return register
    return case


case = case_registry(CASES, ["app/vostrel"], "tests/desktop/bell_counter")


def main(description, cases=CASES, make_desktop=None, suite="desktop"):
    """Runs the case named on the command line on a desktop of its own (made by make_desktop, a Desktop by
    default); --list names the cases."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--build", help="the build folder (holds the program)")
    parser.add_argument("--case", choices=sorted(cases), help="the case to run")
    parser.add_argument("--list", action="store_true", help="print the case names and exit")
    options = parser.parse_args()
    if options.list:
        print("\n".join(cases))
        return 0
    if not options.build or not options.case:
        parser.error("--build and --case are needed")

    # Stopped by a signal (a CTest time-out, Ctrl+C): tear down all the same.
    def stop(number, _):
        raise SystemExit(f"stopped by signal {number}")

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)
    adopt_orphans()

    function, display, manager, tools, binaries = cases[options.case]
    results = Results()
    started = time.monotonic()
    desktop = (make_desktop or Desktop)(options.build, options.case, results)
    status = None
    try:
        desktop.require(tools, binaries)
        if display:
            desktop.start_x_server()
            if manager:
                desktop.start_window_manager(manager)
            desktop.start_bell_counter()
        function(desktop)
    except Skip as skip:
        print(f"SKIP: {skip}", flush=True)
        status = SKIPPED
    except Abort:
        pass
    except Exception as error:  # a tool that hung or answered nonsense: the case fails, the desktop goes all the same
        traceback.print_exc()
        results.check("the case runs to its end", False, f"{type(error).__name__}: {error}")
    finally:
        desktop.tear_down()
    if status is None:
        status = 0 if results.failed == 0 and results.passed > 0 else 1
        print(f"{suite} {options.case}: {results.passed} passed, {results.failed} failed "
              f"in {time.monotonic() - started:.1f} s", flush=True)
    return status


if __name__ == "__main__":
    sys.exit("desktop_support.py holds what the cases share; run desktop_test.py or session_test.py")
