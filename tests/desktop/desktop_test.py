#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""The program as a user meets it, on a real X server with a window manager: real input through XTest (xdotool),
checks from outside (window properties, screenshots, the clipboard, the X bell, the stored settings file).
Each case brings up a desktop of its own (desktop_support.py) and runs alone:

    python3 tests/desktop/desktop_test.py --build BUILD_DIR --case NAME      (--list names the cases)"""

import os
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written next to the sources
from desktop_support import (DEFAULT_MANAGER, EVERY_MANAGER, NAVY, SCREEN, SIZE, TWIPS, TYPING_STEPS, case, centred,
                             check_bell_steps, check_drags, check_stays_above, click, count_yellow, key, main, pixel,
                             run, screenshot, stored, stored_position, type_text, wait_for, write_store)


@case(managers=EVERY_MANAGER, tools=["import", "convert"])
def start_and_look(desktop):
    """Size, place, window manager hints, focus, background and captions."""
    check = desktop.check
    program = desktop.start(desktop.fresh_config("look"))
    if not check("window appears", program.find_window(), program.process.poll()):
        return
    check("window has the keyboard focus", program.focused(), run("xdotool", "getwindowfocus").stdout.strip())
    x, y, width, height = program.geometry()
    check("window is 505 by 18", (width, height) == SIZE, (width, height))
    seen = program.wait_position(centred())
    check("window opens centred", seen == centred(), (seen, centred()))
    x, y = seen
    state = run("xprop", "-id", program.window, "_NET_WM_STATE").stdout
    check("window is kept above others", "_NET_WM_STATE_ABOVE" in state, state.strip())
    extents = run("xprop", "-id", program.window, "_NET_FRAME_EXTENTS").stdout
    check("window has no frame", "not found" in extents or "0, 0, 0, 0" in extents, extents.strip())

    # The drawing is the program's own, the same under every window manager: looked at once.
    if desktop.window_manager != DEFAULT_MANAGER:
        key("Escape")
        program.exit_status()
        return
    # The screenshot once the program has drawn: a round trip through it comes after its first paint.
    desktop.copy_focused()
    shot = desktop.path("start.png")
    screenshot(shot)
    for name, (px, py) in {"left edge": (2, 9), "above caption": (20, 1), "gap": (121, 9)}.items():
        check(f"navy background at {name}", pixel(shot, x + px, y + py) == NAVY, pixel(shot, x + px, y + py))
    for index, (cx, cw) in enumerate([(6, 48), (124, 60), (242, 48)]):
        yellow = count_yellow(shot, x + cx, y + 3, cw, 15)
        check(f"caption {index} drawn in yellow", yellow > 20, f"{yellow} yellow pixels")
    key("Escape")
    program.exit_status()


@case()
def typing(desktop):
    """The fields follow each other on every keystroke; Enter moves between decimal and hexadecimal."""
    check = desktop.check
    desktop.start_shown(desktop.fresh_config("typing"))
    fields = desktop.read_fields("hex")
    check("fields start at 0", fields == {"hex": "0", "decimal": "0", "binary": "0"}, fields)

    # Each sequence is typed into the focused field; Enter then moves to the other field.
    for index, (name, field, typed, expected) in enumerate(TYPING_STEPS):
        if index > 0:
            key("Return")
        type_text(typed)
        fields = desktop.read_fields(field)
        expected = dict(expected, **{field: typed.upper()})
        check(name, fields == expected, fields)
    key("Return")
    key(*["BackSpace"] * 9)
    fields = desktop.read_fields("hex")
    check("backspace to empty clears the others", fields == {"hex": "", "decimal": "", "binary": ""}, fields)


@case()
def bells(desktop):
    """Which keys ring the bell, counted exactly: after each key a round trip through the program (a copy through
    the clipboard) and one through the X server (the bell counter's sync) come before the count is read."""
    check = desktop.check
    desktop.start_shown(desktop.fresh_config("bells"))
    check_bell_steps(check, desktop.copy_focused, desktop.bells)


@case(managers=EVERY_MANAGER)
def drags_and_clicks(desktop):
    """Moving by the background and by a caption, presses on a field, the middle and right buttons, the position
    stored and reused."""
    check = desktop.check
    config = desktop.fresh_config("drags")
    program = desktop.start_shown(config)
    x, y = check_drags(desktop, program)
    # Presses on a field are the field's: a left drag selects, a right press opens its menu, whose release may land
    # on the background.
    for name, button, start, end in [("left drag on a field", 1, (200, 9), (260, 49)),
                                     ("right press on a field, released on the background", 3, (200, 9), (2, 9))]:
        run("xdotool", "mousemove", str(x + start[0]), str(y + start[1]), "mousedown", str(button), "mousemove",
            str(x + end[0]), str(y + end[1]), "mouseup", str(button))
        if button == 3:
            # A tap on the background puts the field's menu away; had the menu closed already, Esc would close the
            # window, where a tap does nothing.
            click(x + 2, y + 9, 1)
        desktop.copy_focused()
        moved_away = wait_for(lambda: program.position() != (x, y), 0.5)
        check(f"{name} leaves the window where it is", not moved_away, program.position())
        check(f"{name} leaves the window open", program.process.poll() is None, program.process.returncode)
    click(x + 2, y + 9, 2)
    synced = desktop.copy_focused()  # the program has handled the drags and the click
    check("dragging stores nothing", synced and stored(config) is None, (stored(config), "synced" if synced else
                                                                          "no round trip through the program"))
    check("middle click does not close", synced and program.process.poll() is None,
          (program.process.poll(), "synced" if synced else "no round trip through the program"))
    click(x + 2, y + 9, 3)
    status = program.exit_status()
    check("right click closes with status 0", status == 0, status)
    check("stored position is the window's in twips", stored_position(config) == (x * TWIPS, y * TWIPS),
          (stored_position(config), (x * TWIPS, y * TWIPS)))

    program = desktop.start_shown(config)
    seen = program.wait_position((x, y))
    check("next start opens where it was closed", seen == (x, y), seen)
    key("Escape")
    status = program.exit_status()
    check("Esc closes with status 0", status == 0, status)


@case(managers=EVERY_MANAGER)
def taps(desktop):
    """A click on the background or a caption asks the window manager for no move (_NET_WM_MOVERESIZE, which the
    bell counter sees) and leaves the window where it is when the pointer moves on: a tap (press and release in one
    batch, as a touchpad sends them), and a click whose pointer slips a pixel before the release 80 ms later, as a
    hand's may. The right click after them closes the window (a window manager left in a move would take that
    click to end it). Three rounds, each with a new window."""
    check = desktop.check
    for round in range(1, 4):
        program = desktop.start_shown(desktop.fresh_config(f"taps-{round}"))
        x, y = program.wait_position(centred())
        for name, point in [("background", (2, 9)), ("caption", (130, 10))]:
            for click_name, slip in [("a tap", []), ("a slipping click", ["mousemove_relative", "1", "0", "sleep",
                                                                          "0.08"])]:
                moves = desktop.bells.moves
                # No key in between: a window manager's move ends on a key, which would hide one left going.
                run("xdotool", "mousemove", str(x + point[0]), str(y + point[1]), "mousedown", "1", *slip, "mouseup",
                    "1")
                time.sleep(0.15)
                run("xdotool", "mousemove", str(x + 300), str(y + 200))
                # The window manager moves the window in its own time: watch it for a while.
                moved_away = wait_for(lambda: program.position() != (x, y), 0.3)
                synced = desktop.bells.sync() is not None
                asked = desktop.bells.moves - moves
                check(f"round {round}: {click_name} on the {name} asks for no move and leaves the window where it is",
                      synced and not moved_away and asked == 0, (program.position(), f"{asked} moves asked", synced))
        click(x + 2, y + 9, 3)
        check(f"round {round}: the right click after the clicks closes the window", program.exit_status() == 0,
              program.process.returncode)
        # The window manager done with the closed window before the next one comes.
        wait_for(lambda: "0x" not in run("xprop", "-root", "_NET_CLIENT_LIST").stdout, 10)


@case(managers=EVERY_MANAGER)
def close_paths(desktop):
    """A right click on a caption and the window manager's close (Alt+F4) close the window the normal way."""
    check = desktop.check
    program = desktop.start_shown(desktop.fresh_config("caption"))
    x, y = program.wait_position(centred())
    click(x + 250, y + 10, 3)
    check("right click on a caption closes", program.exit_status() == 0, program.process.returncode)
    # The window manager done with the closed window before the next one comes.
    wait_for(lambda: "0x" not in run("xprop", "-root", "_NET_CLIENT_LIST").stdout, 10)

    # The window manager's close runs the same close: the position is stored.
    config = desktop.fresh_config("alt-f4")
    program = desktop.start_shown(config)
    x, y = program.wait_position(centred())
    desktop.copy_focused()  # the program is up and takes keys: a window manager's key pressed sooner may be lost
    # kwin_x11 takes its shortcuts a while after it has started: pressed too soon, Alt+F4 is pressed again.
    for _ in range(3):
        key("alt+F4")
        if wait_for(lambda: program.process.poll() is not None, 3):
            break
    check("Alt+F4 closes with status 0", program.exit_status() == 0, program.process.returncode)
    check("Alt+F4 stores the position", stored_position(config) == (x * TWIPS, y * TWIPS), stored(config))


@case(binaries=["bench/qt_floor"])
def stays_above(desktop):
    """Another application's window, activated on top of the strip, stays below it."""
    check = desktop.check
    program = desktop.start_shown(desktop.fresh_config("above"))
    x, y = program.wait_position(centred())
    other = desktop.spawn([os.path.join(desktop.build, "bench", "qt_floor")], stop="kill", stderr=subprocess.DEVNULL)
    other_window = wait_for(lambda: run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(other.pid),
                                        "--class", "qt_floor").stdout.split(), 10)
    if other_window:
        ours, theirs = int(program.window), int(other_window[0])
        run("xdotool", "windowmove", other_window[0], str(x), str(y), "windowactivate", "--sync", other_window[0])
        check_stays_above(check, ours, theirs)
    else:
        check("stays above another application's active window", False, "the other window never appeared")
    other.kill()
    other.wait()
    run("xdotool", "windowactivate", "--sync", program.window)
    key("Escape")
    check("closes after the other window went", program.exit_status() == 0, program.process.returncode)


@case()
def stored_edges(desktop):
    """Stored positions off each edge come back on screen; what is not a number reads as not stored."""
    check = desktop.check
    for name, text, expected in [
        ("beyond right and bottom", "[Main]\nxPos=99999\nyPos=99999\n", (SCREEN[0] - SIZE[0], SCREEN[1] - SIZE[1])),
        ("beyond left and top", "[Main]\nxPos=-4000\nyPos=-70\n", (0, 0)),
        ("only left stored", "[Main]\nxPos=1500\n", (100, centred()[1])),
        ("not numbers", "[Main]\nxPos=abc\nyPos=1.5\n", centred()),
    ]:
        config = desktop.fresh_config("edge")
        write_store(config, text)
        program = desktop.start_shown(config)
        seen = program.wait_position(expected)
        check(f"stored position {name}", seen == expected, (seen, expected))
        key("Escape")
        program.exit_status()


@case(tools=["setpriv"])
def store_faults(desktop):
    """A killed program, a damaged, misplaced, unwritable or unreadable store."""
    check = desktop.check

    def starts_centred_and_closes(name, config, user=None):
        program = desktop.start(config, user=user)
        found = program.find_window()
        seen = program.wait_position(centred()) if found else None
        check(f"{name}: starts centred", seen == centred(), (seen, program.process.poll()))
        if found:
            key("Escape")
        check(f"{name}: closes normally", program.exit_status() == 0, program.process.returncode)

    config = desktop.fresh_config("kill")
    write_store(config, "[Main]\nxPos=1500\nyPos=1500\n")
    program = desktop.start_shown(config)
    x, y = program.wait_position((100, 100))
    desktop.drag((x + 2, y + 9), (60, 60))
    program.wait_position((x + 60, y + 60))
    program.process.kill()
    program.exit_status()
    check("kill -9 leaves the stored position", stored(config) == "[Main]\nxPos=1500\nyPos=1500\n", stored(config))

    config = desktop.fresh_config("random")
    write_store(config, "")
    with open(os.path.join(config, "Vostrel", "Vostrel.conf"), "wb") as file:
        file.write(os.urandom(4096))
    starts_centred_and_closes("a store of random bytes", config)

    config = desktop.fresh_config("folder")
    os.makedirs(os.path.join(config, "Vostrel", "Vostrel.conf"))
    starts_centred_and_closes("a store that is a folder", config)

    config = desktop.fresh_config("blocked")
    with open(os.path.join(config, "Vostrel"), "w"):
        pass  # the store's folder is a file: nothing can be written
    program = desktop.start_shown(config)
    key("Escape")
    check("an unwritable store: closes normally", program.exit_status() == 0, program.process.returncode)

    if os.geteuid() == 0:
        # Unreadable and unwritable for an ordinary user: the store belongs to root, mode 000, in a folder of
        # root's the user can reach but not write.
        os.chmod(desktop.root, 0o711)
        config = desktop.fresh_config("unreadable")
        os.chmod(config, 0o755)
        write_store(config, "[Main]\nxPos=1500\nyPos=1500\n")
        os.chmod(os.path.join(config, "Vostrel", "Vostrel.conf"), 0)
        starts_centred_and_closes("an unreadable store", config, user=65534)
        os.chmod(os.path.join(config, "Vostrel", "Vostrel.conf"), 0o644)
        check("an unreadable store: left as it was", stored(config) == "[Main]\nxPos=1500\nyPos=1500\n",
              stored(config))


@case()
def two_copies(desktop):
    """Two copies closing together leave whole entries, each from one of them."""
    check = desktop.check
    config = desktop.fresh_config("two")
    first = desktop.start_shown(config)
    x, y = first.wait_position(centred())
    desktop.drag((x + 2, y + 9), (-200, -200))
    first.wait_position((x - 200, y - 200))
    second = desktop.start_shown(config)
    second.wait_position(centred())
    positions = {tuple(v * TWIPS for v in first.position()), tuple(v * TWIPS for v in second.position())}
    first.process.send_signal(signal.SIGTERM)
    second.process.send_signal(signal.SIGTERM)
    statuses = (first.exit_status(), second.exit_status())
    check("two copies closed together exit 0", statuses == (0, 0), statuses)
    left, top = stored_position(config)
    check("two copies closed together leave whole entries",
          left in {p[0] for p in positions} and top in {p[1] for p in positions}, (stored(config), positions))


@case()
def fast_keys(desktop):
    """10,000 keys at a time as fast as XTest sends them: texts consistent, no memory growth per edit."""
    check = desktop.check
    program = desktop.start_shown(desktop.fresh_config("flood"))
    key("Return")  # to the decimal field, its "0" selected
    burst = ["1", "2", "3", "4", "5", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace"] * 1000

    def flood():
        run("xdotool", "key", "--delay", "0", *burst, timeout=300)
        key("BackSpace")
        # Until the program has worked through all of it: a 7 typed after, copied back, then taken away again.
        key("7")
        copied = desktop.copy_focused(timeout=120)
        key("BackSpace")
        return copied == "7"

    done = flood()
    warm = program.rss_kib()
    done = flood() and flood() and done
    grown = program.rss_kib() - warm
    check("20,000 more keys grow memory by less than 512 KiB", done and grown < 512,
          f"{grown} KiB" if done else "the program did not get through the keys")
    type_text("42", delay=10)
    fields = desktop.read_fields("decimal")
    check("after 30,000 fast keys the texts agree", fields == {"decimal": "42", "hex": "2A", "binary": "00101010"},
          fields)
    key("Escape")
    check("after 30,000 fast keys Esc closes with status 0", program.exit_status() == 0, program.process.returncode)


@case()
def scale_factor(desktop):
    """At a device pixel ratio of 2 the strip has twice the pixels, a drag keeps the pixel it grabbed (a press
    between two of Qt's own pixels), and the position is still stored in twips."""
    check = desktop.check
    config = desktop.fresh_config("hidpi")
    program = desktop.start(config, env={"QT_SCALE_FACTOR": "2"})
    program.find_window(size=(2 * SIZE[0], 2 * SIZE[1]))
    x, y, width, height = program.geometry() if program.window else (None, None, None, None)
    check("scale factor 2: window is 1010 by 36 pixels", (width, height) == (1010, 36), (width, height))
    if program.window:
        desktop.drag((x + 3, y + 19), (100, 50))
        moved = program.wait_position((x + 100, y + 50))
        check("scale factor 2: a drag moves the window by the pointer's path", moved == (x + 100, y + 50), moved)
        x, y = moved
    key("Escape")
    program.exit_status()
    expected = (x // 2 * TWIPS, y // 2 * TWIPS) if program.window else None
    check("scale factor 2: position stored in twips of the scaled screen", stored_position(config) == expected,
          (stored_position(config), (x, y)))


@case(display=False)
def no_display(desktop):
    """Without any display the program says so and exits with an error, not a crash."""
    check = desktop.check
    environment = dict(os.environ, XDG_CONFIG_HOME=desktop.fresh_config("none"))
    out = subprocess.run([desktop.binary], env=environment, capture_output=True, text=True, timeout=20)
    check("no display: one clear line and status 1",
          out.returncode == 1 and len(out.stderr.strip().splitlines()) == 1 and "display" in out.stderr,
          (out.returncode, out.stderr))
    number = 4242
    while any(os.path.exists(path) for path in (f"/tmp/.X11-unix/X{number}", f"/tmp/.X{number}-lock")):
        number += 1
    environment["DISPLAY"] = f":{number}"
    out = subprocess.run([desktop.binary], env=environment, capture_output=True, text=True, timeout=20)
    check("unreachable display: status 1, no crash", out.returncode == 1, (out.returncode, out.stderr))


@case(window_manager=False, tools=["openbox"])
def without_window_manager(desktop):
    """Nobody to ask for a move: the window follows the pointer itself while the left button is down. A window
    manager ran and was killed: the root still names its check window, gone, and lists the move among those it
    supported."""
    check = desktop.check
    killed = desktop.spawn(["openbox", "--sm-disable"], stop="kill", stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
    wait_for(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, 10)
    killed.kill()
    killed.wait()
    program = desktop.start_shown(desktop.fresh_config("no-wm"))
    x, y = program.wait_position(centred())
    desktop.drag((x + 2, y + 9), (80, 40))
    moved = program.wait_position((x + 80, y + 40))
    check("without a window manager, a left drag moves the window", moved == (x + 80, y + 40),
          (moved, (x + 80, y + 40)))
    desktop.drag((moved[0] + 130, moved[1] + 10), (-30, 20))
    seen = program.wait_position((moved[0] - 30, moved[1] + 20))
    check("without a window manager, a caption drag moves the window", seen == (moved[0] - 30, moved[1] + 20), seen)
    synced = desktop.bells.sync() is not None
    check("without a window manager, no move is asked of one", synced and desktop.bells.moves == 0,
          (f"{desktop.bells.moves} moves asked", synced))
    click(moved[0] - 28, moved[1] + 29, 3)
    check("without a window manager, right click closes", program.exit_status() == 0, program.process.returncode)


if __name__ == "__main__":
    sys.exit(main(__doc__))
