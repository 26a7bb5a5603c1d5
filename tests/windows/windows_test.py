#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
"""The Windows program as a user meets it, under Wine on a real X server with a window manager: keys and the mouse
through XTest (xdotool), and another Windows program (the driver) that reads the window's controls and the
registry, types with SendInput and sends the window messages as other programs do. Each case brings up a desktop
of its own (windows_support.py) and runs alone:

    python3 tests/windows/windows_test.py --build BUILD_DIR --case NAME      (--list names the cases)"""

import os
import sys
import zipfile

sys.dont_write_bytecode = True  # nothing written next to the sources
from windows_support import (EM_SETREADONLY, FIELDS, REG_BINARY, REG_DWORD, REG_EXPAND_SZ, REG_MULTI_SZ, REG_SZ,
                             SW_MAXIMIZE, SW_MINIMIZE, UNICODE_NOCHAR, WM_CLOSE, WM_DESTROY, WM_DPICHANGED,
                             WM_ENDSESSION, WM_NCDESTROY, WM_QUERYENDSESSION, WM_UNICHAR, WS_CAPTION, WS_EX_APPWINDOW,
                             WS_EX_TOPMOST, WS_POPUP, WS_THICKFRAME, case, main, text_bytes, units)
from desktop_support import (NAVY, SCREEN, SIZE, TWIPS, TYPING_STEPS, centred, check_bell_steps, check_drags,
                             check_stays_above, click, count_yellow, key, pixel, run, screenshot, type_text, wait_for)

# Where things are on the strip, in pixels from its corner at 96 dpi.
CAPTIONS = [(20, 10), (140, 10), (260, 10)]  # a point on each caption, by field index
BACKGROUND = (2, 9)


def yellow_when_drawn(path, captions, least):
    """Each caption's yellow pixels in a screenshot at `path`, taken again until every caption has more than
    `least`, for up to 5 s: Wine hands the window's paint to the X server some time after the program drew it."""
    counts = []

    def drawn():
        screenshot(path)
        counts[:] = [count_yellow(path, *caption) for caption in captions]
        return min(counts) > least

    wait_for(drawn, 5, interval=0.2)
    return counts


def seed(driver, left, top):
    """A stored position in pixels, as the program writes it: REG_SZ twips."""
    driver.ask("regclear")
    driver.store("xPos", REG_SZ, text_bytes(str(left * TWIPS)))
    driver.store("yPos", REG_SZ, text_bytes(str(top * TWIPS)))


@case(tools=["import", "convert"])
def start_and_look(desktop):
    """Size, place, styles, the window manager's view, the colours and glyphs, and what a first close stores."""
    check = desktop.check
    program = desktop.start_shown()
    driver = desktop.driver
    window = driver.window()
    check("window is 505 by 18", (window["width"], window["height"]) == SIZE, window)
    check("window opens centred", (window["left"], window["top"]) == centred(), (window, centred()))
    check("a popup without frame or title bar", window["style"] & WS_POPUP and not window["style"] & WS_CAPTION
          and not window["style"] & WS_THICKFRAME, hex(window["style"]))
    check("topmost, with a taskbar button", window["exstyle"] & WS_EX_TOPMOST and window["exstyle"] & WS_EX_APPWINDOW,
          hex(window["exstyle"]))
    check("titled Vostrel", window["title"] == "Vostrel", window["title"])
    check("fields start at 0", driver.fields() == {"decimal": "0", "hex": "0", "binary": "0"}, driver.fields())
    check("hexadecimal field focused, its 0 selected", (window["focus"], window["selection"]) == (1, [0, 1]), window)
    state = run("xprop", "-id", program.x_window, "_NET_WM_STATE").stdout
    check("window manager keeps it above others", "_NET_WM_STATE_ABOVE" in state, state.strip())
    extents = run("xprop", "-id", program.x_window, "_NET_FRAME_EXTENTS").stdout
    check("window manager draws no frame", "not found" in extents or "0, 0, 0, 0" in extents, extents.strip())

    shot = desktop.path("start.png")
    x, y = window["left"], window["top"]
    counts = yellow_when_drawn(shot, [(x + cx, y + 3, cw, 15) for cx, cw in [(6, 48), (124, 60), (242, 48)]], 20)
    for name, (px, py) in {"left edge": (2, 9), "above caption": (20, 1), "gap": (121, 9)}.items():
        check(f"navy background at {name}", pixel(shot, x + px, y + py) == NAVY, pixel(shot, x + px, y + py))
    for index, yellow in enumerate(counts):
        check(f"caption {index} drawn in yellow glyphs", yellow > 20, f"{yellow} yellow pixels")
    check("binary field in the colours of editable text", pixel(shot, x + 480, y + 9) == (255, 255, 255),
          pixel(shot, x + 480, y + 9))

    key("Escape")
    check("Esc closes with status 0", program.exit_status() == 0, program.process.returncode)
    check("the close stores the position in twips", driver.stored_position() == (x * TWIPS, y * TWIPS),
          driver.stored_position())
    keys = driver.ask("regkeys")
    check("nothing else is stored", keys == {"keys": ["Main"], "values": ["xPos", "yPos"]}, keys)


@case()
def typing(desktop):
    """The fields follow each other on every keystroke; Enter moves between decimal and hexadecimal."""
    check = desktop.check
    desktop.start_shown()
    for index, (name, field, typed, expected) in enumerate(TYPING_STEPS):
        if index > 0:
            key("Return")
        type_text(typed)
        expected = dict(expected, **{field: typed.upper()})
        fields = desktop.fields_become(expected)
        check(name, fields == expected, fields)
    key("Return")
    key(*["BackSpace"] * 9)
    fields = desktop.fields_become({"hex": "", "decimal": "", "binary": ""})
    check("backspace to empty clears the others", fields == {"hex": "", "decimal": "", "binary": ""}, fields)


@case()
def typed_by_programs(desktop):
    """Characters that other programs type: SendInput, WM_CHAR and WM_IME_CHAR all go through the key rule, each
    character once, with one bell for a refused one."""
    check = desktop.check
    desktop.start_shown()
    driver = desktop.driver
    driver.ask("foreground")
    # Each row goes on from the one before: (name, driver commands, fields after, bells). The hexadecimal field
    # starts focused, its "0" selected.
    for name, commands, expected, bells in [
        ("WM_CHAR of a digit", [("char", 1, ord("7"))], ("7", "7", "00000111"), 0),
        ("WM_CHAR of a lower-case letter, upper-cased", [("char", 1, ord("b"))], ("123", "7B", "01111011"), 0),
        ("WM_CHAR of a letter into the unfocused decimal field is refused there",
         [("char", 0, ord("x"))], ("123", "7B", "01111011"), 1),
        ("WM_IME_CHAR of a digit replaces the text the focus selected", [("imechar", 0, ord("4"))],
         ("4", "04", "00000100"), 0),
        ("WM_IME_CHAR of a full-width digit is refused", [("imechar", 0, 0xFF15)], ("4", "04", "00000100"), 1),
        ("a character beyond 16 bits is one refused key", [("char", 0, 0xD83D), ("char", 0, 0xDE00)],
         ("4", "04", "00000100"), 1),
        ("WM_CHAR of digits", [("char", 0, ord("2")), ("char", 0, ord("7"))], ("427", "01AB", "00000001,10101011"), 0),
        ("WM_CHAR Backspace", [("char", 0, 8)], ("42", "2A", "00101010"), 0),
        ("WM_UNICHAR of a letter is refused", [("message", 0, WM_UNICHAR, ord("x"), 0)], ("42", "2A", "00101010"), 1),
        ("WM_UNICHAR of a digit types", [("message", 0, WM_UNICHAR, ord("5"), 0)], ("425", "01A9", "00000001,10101001"),
         0),
        ("WM_UNICHAR beyond 16 bits is one refused key", [("message", 0, WM_UNICHAR, 0x1F600, 0)],
         ("425", "01A9", "00000001,10101001"), 1),
        ("WM_CHAR into the unfocused hexadecimal field types there", [("char", 1, ord("c"))], ("12", "C", "00001100"),
         0),
        ("SendInput types f after it", [("type", units("f"))], ("207", "CF", "11001111"), 0),
        ("SendInput Enter, then digits replace the selected decimal text",
         [("keys", "Return"), ("type", units("65"))], ("65", "41", "01000001"), 0),
        ("SendInput of a letter into decimal is refused", [("type", units("q"))], ("65", "41", "01000001"), 1),
    ]:
        before = desktop.bells.sync()
        for command in commands:
            driver.ask(*command)
        want = dict(zip(("decimal", "hex", "binary"), expected))
        fields = desktop.fields_become(want)
        # SendInput is taken in turn with other input: a round trip through the program before the bells are read.
        if any(command[0] in ("type", "keys") for command in commands):
            desktop.round_trip()
        rung = desktop.bells.sync() - before
        check(name, fields == want and rung == bells, (fields, f"{rung} bells"))
    answer = driver.ask("message", 0, WM_UNICHAR, UNICODE_NOCHAR, 0)
    check("WM_UNICHAR answers UNICODE_NOCHAR with TRUE", answer == {"result": 1}, answer)


@case()
def bells(desktop):
    """Which keys ring the bell, counted exactly: after each key a round trip through the program (a copy through
    the clipboard) and one through the X server (the bell counter's sync) come before the count is read."""
    check = desktop.check
    desktop.start_shown()
    check_bell_steps(check, desktop.round_trip, desktop.bells)
    # Ctrl+A types a control character, refused with its bell: the edit control's own select-all must not act.
    before = desktop.bells.sync()
    key("End", "ctrl+a")
    rung = wait_for(lambda: desktop.bells.sync() > before, 5)
    start, end = desktop.driver.window().get("selection", [None, None])
    check("Ctrl+A selects nothing", rung and start == end, (f"{'a bell' if rung else 'no bell'}", start, end))


@case()
def focus_and_enter(desktop):
    """Tab and Shift+Tab go round hexadecimal, decimal, binary; Enter moves between decimal and hexadecimal, and
    from binary to decimal; every focus change selects the whole text."""
    check = desktop.check
    desktop.start_shown()
    driver = desktop.driver
    type_text("ff")
    texts = desktop.fields_become({"decimal": "255", "hex": "FF", "binary": "11111111"})
    lengths = [len(texts[name]) for name in ("decimal", "hex", "binary")]
    for keys, field in [(["Tab"], 0), (["Tab"], 2), (["Tab"], 1), (["shift+Tab"], 2), (["shift+Tab"], 0),
                        (["Return"], 1), (["Return"], 0), (["Tab", "Return"], 0), (["Return"], 1)]:
        key(*keys)
        want = {"focus": field, "selection": [0, lengths[field]]}

        def seen():
            window = driver.window()
            return {"focus": window.get("focus"), "selection": window.get("selection")}

        wait_for(lambda: seen() == want, 5)
        check(f"{'+'.join(keys)} puts the focus in field {field}, its text selected", seen() == want, seen())


@case()
def caption_presses(desktop):
    """A press on a caption focuses its field with the whole text selected, before anything else; a middle press
    does only that; a press on the focused field's caption leaves its selection; a right click closes."""
    check = desktop.check
    program = desktop.start_shown()
    driver = desktop.driver
    x, y = program.position()
    type_text("ff")
    desktop.fields_become({"decimal": "255", "hex": "FF", "binary": "11111111"})

    def focus():
        window = driver.window()
        return window.get("focus"), window.get("selection"), (window.get("left"), window.get("top"))

    for name, field, button, expected in [("left press on the decimal caption", 0, 1, (0, [0, 3])),
                                          ("middle press on the hexadecimal caption", 1, 2, (1, [0, 2]))]:
        click(x + CAPTIONS[field][0], y + CAPTIONS[field][1], button)
        wait_for(lambda: focus()[:2] == expected, 5)
        check(name, focus() == (*expected, (x, y)), focus())
    # The caret put at the end of the hexadecimal text by a click in the field, then its caption pressed; a
    # middle press on another caption after it shows when both have been handled.
    click(x + 230, y + 9, 1)
    wait_for(lambda: focus()[1] == [2, 2], 5)
    click(x + CAPTIONS[1][0], y + CAPTIONS[1][1], 1)
    click(x + CAPTIONS[0][0], y + CAPTIONS[0][1], 2)
    wait_for(lambda: focus()[0] == 0, 5)
    kept = driver.ask("selection", 1).get("selection")
    check("a press on the focused field's caption keeps its selection", kept == [2, 2], kept)
    click(x + CAPTIONS[2][0], y + CAPTIONS[2][1], 3)
    check("right click on a caption closes with status 0", program.exit_status() == 0, program.process.returncode)
    check("and stores the position", driver.stored_position() == (x * TWIPS, y * TWIPS), driver.stored_position())


@case()
def drags_and_clicks(desktop):
    """Moving by the background and by a caption, a tap that must not leave the window on the pointer, the middle and
    right buttons, the position stored only at close and used at the next start."""
    check = desktop.check
    program = desktop.start_shown()
    driver = desktop.driver
    x, y = check_drags(desktop, program)

    for name, point in [("background", BACKGROUND), ("caption", CAPTIONS[1])]:
        # Press and release in one batch, as a touchpad tap sends them, then the pointer moves on.
        run("xdotool", "mousemove", str(x + point[0]), str(y + point[1]), "click", "1")
        run("xdotool", "mousemove", str(x + 300), str(y + 200))
        desktop.round_trip()
        run("xdotool", "mousemove", str(x + 350), str(y + 250))
        desktop.round_trip()
        check(f"a tap on the {name} leaves the window where it is", program.position() == (x, y), program.position())

    # A press on a field is the field's: its release over the background neither closes nor moves. (Not the
    # middle button: Wine pastes the X selection with it.) The edit class takes a second quick press as a double
    # click, and holds the mouse while its left button selects.
    def gestures(field_x):
        """Each gesture's xdotool words, begun over the field at field_x and ended over the background. A pause after
        each move, as a hand makes: Wine may put the pointer back where it last saw it when a press comes at once."""
        field = ["mousemove", str(x + field_x), str(y + 9), "sleep", "0.05"]
        away = ["mousemove", str(x + BACKGROUND[0]), str(y + BACKGROUND[1]), "sleep", "0.05"]
        right = field + ["mousedown", "3"] + away + ["mouseup", "3"]
        return {"a right press": right, "a left press": field + ["mousedown", "1"] + away + ["mouseup", "1"],
                "a quick second right press": right + right,
                "a right press while the left selects": field + ["mousedown", "1", "mousedown", "3"] + away
                + ["mouseup", "1", "mouseup", "3"]}

    for name, field_x in [("a right press", 100), ("a left press", 100)] + [
            (name, field_x) for field_x in (100, 230, 400)
            for name in ("a quick second right press", "a right press while the left selects")]:
        run("xdotool", *gestures(field_x)[name])
        synced = desktop.round_trip()
        check(f"{name} on the field at {field_x} released on the background leaves the window open and in place",
              synced and program.process.poll() is None and program.position() == (x, y),
              (synced, program.process.poll(), program.position()))
    click(x + BACKGROUND[0], y + BACKGROUND[1], 2)
    synced = desktop.round_trip()
    check("middle click neither closes nor moves", synced and program.process.poll() is None
          and program.position() == (x, y), (program.process.poll(), program.position()))
    check("moving stores nothing", driver.stored("xPos") is None, driver.stored("xPos"))
    # The middle button pressed and released while the right is down: the window saw the right press all the same.
    run("xdotool", "mousemove", str(x + BACKGROUND[0]), str(y + BACKGROUND[1]), "mousedown", "3", "click", "2",
        "mouseup", "3")
    check("a right click, the middle button clicked meanwhile, closes with status 0", program.exit_status() == 0,
          program.process.returncode)
    check("stored position is the window's in twips", driver.stored_position() == (x * TWIPS, y * TWIPS),
          driver.stored_position())
    program = desktop.start_shown()
    check("next start opens where it was closed", program.wait_position((x, y)) == (x, y), program.position())


@case()
def close_paths(desktop):
    """Alt+F4 and another program's WM_CLOSE (as taskkill sends it) close the normal way, storing the position."""
    check = desktop.check
    for name, close in [("Alt+F4", lambda driver: key("alt+F4")),
                        ("WM_CLOSE from another program", lambda driver: driver.ask("post", "window", WM_CLOSE, 0, 0))]:
        program = desktop.start_shown()
        driver = desktop.driver
        driver.ask("regclear")
        x, y = program.position()
        close(driver)
        check(f"{name} closes with status 0", program.exit_status() == 0, program.process.returncode)
        check(f"{name} stores the position", driver.stored_position() == (x * TWIPS, y * TWIPS),
              driver.stored_position())


@case()
def session_end(desktop):
    """The end of the Windows session: a cancelled end keeps the window and writes nothing; a real one closes it
    through the normal path."""
    check = desktop.check
    desktop.start_driver()
    seed(desktop.driver, 100, 100)
    program = desktop.start_shown()
    driver = desktop.driver
    desktop.drag((100 + BACKGROUND[0], 100 + BACKGROUND[1]), (60, 60))
    check("moved away from the stored position", program.wait_position((160, 160)) == (160, 160), program.position())
    query = driver.ask("message", "window", WM_QUERYENDSESSION, 0, 0)
    check("the session may end", query == {"result": 1}, query)
    driver.ask("message", "window", WM_ENDSESSION, 0, 0)
    desktop.round_trip()
    check("a cancelled end keeps the window", program.process.poll() is None and driver.window().get("visible"),
          program.process.poll())
    check("a cancelled end writes nothing", driver.stored_position() == (1500, 1500), driver.stored_position())
    driver.ask("message", "window", WM_QUERYENDSESSION, 0, 0)
    driver.ask("message", "window", WM_ENDSESSION, 1, 0)
    check("the end of the session closes with status 0", program.exit_status() == 0, program.process.returncode)
    check("and stores the position", driver.stored_position() == (2400, 2400), driver.stored_position())


@case()
def minimised_and_maximised_close(desktop):
    """A close while minimised or maximised writes nothing: the next start uses the last normal close's position."""
    check = desktop.check
    desktop.start_driver()
    seed(desktop.driver, 100, 100)
    for name, show, state in [("minimised", SW_MINIMIZE, "iconic"), ("maximised", SW_MAXIMIZE, "zoomed")]:
        program = desktop.start_shown()
        driver = desktop.driver
        check(f"{name}: opens at the stored position", program.wait_position((100, 100)) == (100, 100),
              program.position())
        desktop.drag((100 + BACKGROUND[0], 100 + BACKGROUND[1]), (60, 60))
        program.wait_position((160, 160))
        driver.ask("show", show)
        wait_for(lambda: driver.window().get(state), 5)
        driver.ask("post", "window", WM_CLOSE, 0, 0)
        check(f"{name}: closes with status 0", program.exit_status() == 0, program.process.returncode)
        check(f"{name}: writes nothing", driver.stored_position() == (1500, 1500), driver.stored_position())


@case()
def stored_positions(desktop):
    """Stored positions off each edge come back on screen; values missing, empty, not numbers, out of range or of
    another type read as not stored; each close writes the position back as text."""
    check = desktop.check
    driver = desktop.start_driver()
    right, bottom = SCREEN[0] - SIZE[0], SCREEN[1] - SIZE[1]
    for name, values, expected in [
        ("beyond right and bottom", {"xPos": (REG_SZ, "99999"), "yPos": (REG_SZ, "99999")}, (right, bottom)),
        ("beyond left and top", {"xPos": (REG_SZ, "-4000"), "yPos": (REG_SZ, "-70")}, (0, 0)),
        ("only left stored", {"xPos": (REG_SZ, "1500")}, (100, centred()[1])),
        ("not numbers", {"xPos": (REG_SZ, "abc"), "yPos": (REG_SZ, "1.5")}, centred()),
        ("empty and out of range", {"xPos": (REG_SZ, ""), "yPos": (REG_SZ, "2147483648")}, centred()),
        ("a number and an expandable text", {"xPos": (REG_DWORD, "dc050000"), "yPos": (REG_EXPAND_SZ, "1500")},
         centred()),
        ("bytes and a list", {"xPos": (REG_BINARY, "31003500"), "yPos": (REG_MULTI_SZ, "1500")}, centred()),
    ]:
        driver.ask("regclear")
        for value, (type_, data) in values.items():
            is_text = type_ in (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
            driver.store(value, type_, text_bytes(data) + ("0000" if type_ == REG_MULTI_SZ else "") if is_text
                         else data)
        program = desktop.start_shown()
        seen = program.wait_position(expected)
        check(f"stored {name}: opens at {expected}", seen == expected, seen)
        key("Escape")
        program.exit_status()
        stored = [driver.stored(name) for name in ("xPos", "yPos")]
        check(f"stored {name}: the close writes text", stored == [(REG_SZ, str(v * TWIPS)) for v in seen], stored)


@case()
def other_programs_text(desktop):
    """Text that reaches a field other than by typing keeps the fields agreeing: another program's WM_SETTEXT,
    pasting by Shift+Insert and by the context menu, and undo."""
    check = desktop.check
    program = desktop.start_shown()
    driver = desktop.driver
    x, y = program.position()
    result = driver.ask("settext", 2, units("1"))
    check("WM_SETTEXT into the binary field is refused", result == {"result": 0}
          and driver.fields() == {"decimal": "0", "hex": "0", "binary": "0"}, (result, driver.fields()))
    driver.ask("settext", 0, units("100"))
    want = {"decimal": "100", "hex": "64", "binary": "01100100"}
    check("WM_SETTEXT into the unfocused decimal field converts", desktop.fields_become(want) == want, driver.fields())
    want = {"decimal": "100", "hex": "64", "binary": "01100100"}
    # Each of these is refused, or leaves the fields agreeing; a round trip through the program shows that every
    # one has been handled before the fields are read.
    for name, command in [
        ("WM_SETTEXT that is no number", ("settext", 1, units("xyz"))),
        ("EM_REPLACESEL into the binary field", ("replacesel", 2, units("HELLO"))),
        ("WM_CLOSE to a field", ("message", 1, WM_CLOSE, 0, 0)),
        # The edit control takes WM_DESTROY as nothing, but WM_NCDESTROY frees all it holds.
        ("WM_NCDESTROY to a field", ("message", 0, WM_NCDESTROY, 0, 0)),
        ("WM_DESTROY to the window", ("message", "window", WM_DESTROY, 0, 0)),
        # Its suggested rectangle a pointer into another process, or into nothing.
        ("WM_DPICHANGED posted with a pointer that means nothing here",
         ("post", "window", WM_DPICHANGED, 144 << 16 | 144, 8)),
    ]:
        driver.ask(*command)
        synced = desktop.round_trip()
        check(f"{name} leaves the fields as they were",
              synced and program.process.poll() is None and driver.fields() == want,
              (synced, program.process.poll(), driver.fields()))

    def menu_command(letter):
        """Selects the binary field's whole text and picks a command of its context menu by its letter."""
        key("End", "shift+Home")
        click(x + 400, y + 9, 3)
        wait_for(lambda: run("xdotool", "search", "--onlyvisible", "--class", "vostrel.exe").stdout.count("\n") > 1, 3)
        key(letter)

    # The binary field, which only the program writes, refuses what would change it from the keyboard and its menu.
    key("Tab")  # from the decimal field, where the text above went
    for name, action in [
        ("Delete", lambda: key("Home", "Delete")),
        ("Shift+Delete (cut)", lambda: key("End", "shift+Home", "shift+Delete")),
        ("its menu's Cut", lambda: menu_command("t")),
        ("its menu's Delete", lambda: menu_command("d")),
        ("Delete after another program's EM_SETREADONLY", lambda: (driver.ask("message", 2, EM_SETREADONLY, 0, 0),
                                                                   key("Home", "Delete"))),
    ]:
        action()
        desktop.round_trip()
        check(f"the binary field refuses {name}", driver.fields() == want, driver.fields())
    key("shift+Tab")  # back to the decimal field

    driver.ask("clip", units("0x1F"))
    key("Return", "shift+Insert")  # Enter moves to the hexadecimal field and selects its whole text
    want = {"decimal": "31", "hex": "0x1F", "binary": "00011111"}
    check("Shift+Insert pastes and converts", desktop.fields_become(want) == want, driver.fields())

    driver.ask("clip", units(" 42 "))
    click(x + 100, y + 9, 3)  # the decimal field's context menu
    wait_for(lambda: run("xdotool", "search", "--onlyvisible", "--class", "vostrel.exe").stdout.count("\n") > 1, 3)
    # The menu's own loop takes the window's messages meanwhile: a bad WM_DPICHANGED posted now is dropped too.
    driver.ask("post", "window", WM_DPICHANGED, 144 << 16 | 144, 8)
    key("p")  # Paste
    want = {"decimal": " 42 ", "hex": "2A", "binary": "00101010"}
    check("the context menu's Paste converts, a bad WM_DPICHANGED posted while it was open",
          desktop.fields_become(want) == want and program.process.poll() is None, driver.fields())
    click(x + 100, y + 9, 3)
    wait_for(lambda: run("xdotool", "search", "--onlyvisible", "--class", "vostrel.exe").stdout.count("\n") > 1, 3)
    key("u")  # Undo
    want = {"decimal": "31", "hex": "1F", "binary": "00011111"}
    check("the context menu's Undo converts back", desktop.fields_become(want) == want, driver.fields())

    # A script's text while another application is active.
    other = desktop.start_other_application()
    driver.ask("settext", 1, units("4d"))
    want = {"decimal": "77", "hex": "4d", "binary": "01001101"}
    check("WM_SETTEXT while another application is active converts", other
          and desktop.fields_become(want) == want, (other, driver.fields()))
    driver.ask("post", "window", WM_CLOSE, 0, 0)
    check("closes with status 0", program.exit_status() == 0, program.process.returncode)


@case(tools=["import", "convert"])
def high_density(desktop):
    """At 144 dots per inch the strip has one and a half times the pixels, with the captions readable, and the
    position is still stored in twips."""
    check = desktop.check
    driver = desktop.start_driver()
    driver.ask("desktopdpi", 144)
    try:
        program = desktop.start_shown(size=(758, 27))
        window = driver.window()
        check("144 dpi: window is 758 by 27 pixels", (window["width"], window["height"]) == (758, 27), window)
        x, y = window["left"], window["top"]
        captions = [(x + cx, y + 4, cw, 23) for cx, cw in [(9, 72), (186, 90), (363, 72)]]
        for index, yellow in enumerate(yellow_when_drawn(desktop.path("dpi.png"), captions, 45)):
            check(f"144 dpi: caption {index} drawn in yellow glyphs", yellow > 45, f"{yellow} yellow pixels")
        type_text("7b")
        want = {"decimal": "123", "hex": "7B", "binary": "01111011"}
        check("144 dpi: typing converts", desktop.fields_become(want) == want, driver.fields())
        key("Escape")
        program.exit_status()
        check("144 dpi: position stored in twips, 10 to a pixel", driver.stored_position() == (x * 10, y * 10),
              (driver.stored_position(), (x, y)))
    finally:
        driver.ask("desktopdpi", 96)


@case()
def stays_above(desktop):
    """Another application's window, activated on top of the strip, stays below it."""
    check = desktop.check
    program = desktop.start_shown()
    x, y = program.position()
    found = desktop.start_other_application()
    if not found:
        check("stays above another application's active window", False, "the other window never appeared")
        return
    ours, theirs = int(program.x_window), int(found)
    run("xdotool", "windowmove", found, str(x), str(y), "windowactivate", "--sync", found)
    check_stays_above(check, ours, theirs)


UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vostrel"
INSTALLED = "%LOCALAPPDATA%\\Programs\\Vostrel"
SHORTCUT = "%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Vostrel.lnk"


@case(binaries=["vostrel-1.00-setup.exe"])
def installer(desktop):
    """A silent install for the user, the installed program, a second install over the first while it runs, and a
    silent uninstall that takes everything away but the user's settings."""
    check = desktop.check
    driver = desktop.start_driver()
    setup = os.path.join(desktop.build, "vostrel-1.00-setup.exe")
    check("a silent install ends with status 0", desktop.wine_run(setup, "/S") == 0)
    files = [f"{INSTALLED}\\{name}" for name in ("vostrel.exe", "LICENSE.txt", "README.txt", "uninstall.exe")]

    def there(path):
        return driver.ask("exists", units(path)).get("exists")

    def entry(name):
        value = driver.ask("hkcu", units(UNINSTALL_KEY), name)
        data = bytes.fromhex(value.get("data", ""))
        return data.decode("utf-16-le").rstrip("\0") if value.get("type") == REG_SZ else int.from_bytes(data, "little")

    check("installed: the program, its licence, README and uninstaller", all(there(path) for path in files),
          [path for path in files if not there(path)])
    check("installed: a Start-menu shortcut", there(SHORTCUT))
    folder = driver.ask("expand", units(INSTALLED)).get("expanded", "")
    seen = {name: entry(name) for name in ("DisplayName", "DisplayVersion", "Publisher", "DisplayIcon",
                                           "UninstallString", "QuietUninstallString", "EstimatedSize")}
    check("listed under installed apps", seen["DisplayName"] == "Vostrel" and seen["DisplayVersion"] == "1.00"
          and seen["Publisher"] == "The Vostrel authors" and seen["DisplayIcon"] == f"{folder}\\vostrel.exe,0"
          and seen["UninstallString"] == f'"{folder}\\uninstall.exe"'
          and seen["QuietUninstallString"] == f'"{folder}\\uninstall.exe" /S' and seen["EstimatedSize"] > 100, seen)

    installed = desktop.unix_path(f"{folder}\\vostrel.exe")
    program = desktop.start_shown(exe=installed)
    x, y = program.position()
    type_text("7f")
    want = {"decimal": "127", "hex": "7F", "binary": "01111111"}
    check("the installed program converts", desktop.fields_become(want) == want, desktop.driver.fields())
    check("installing again while it runs ends with status 0", desktop.wine_run(setup, "/S") == 0)
    check("the running program was closed the normal way", program.exit_status() == 0, program.process.returncode)
    check("and stored its position", driver.stored_position() == (x * TWIPS, y * TWIPS), driver.stored_position())
    check("the second install leaves one installed program", all(there(path) for path in files)
          and entry("DisplayName") == "Vostrel")

    # The uninstaller runs a copy of itself and returns before that has finished.
    check("a silent uninstall starts", desktop.wine_run(desktop.unix_path(f"{folder}\\uninstall.exe"), "/S") == 0)
    gone = wait_for(lambda: not any(there(path) for path in files + [SHORTCUT, INSTALLED])
                    and entry("DisplayName") == 0, 20)
    check("uninstalled: the files, the folder, the shortcut and the entry are gone", gone,
          [path for path in files + [SHORTCUT, INSTALLED] if there(path)] + [entry("DisplayName")])
    check("uninstalled: the settings stay", driver.stored_position() == (x * TWIPS, y * TWIPS),
          driver.stored_position())


@case(binaries=["vostrel-1.00-win64.zip"])
def zip_package(desktop):
    """The zip holds the program, its licence and a README; the program runs from a folder holding nothing else."""
    check = desktop.check
    with zipfile.ZipFile(os.path.join(desktop.build, "vostrel-1.00-win64.zip")) as archive:
        names = archive.namelist()
        exe = archive.read("vostrel.exe") if "vostrel.exe" in names else b""
        readme = archive.read("README.txt").decode("utf-8-sig") if "README.txt" in names else ""
    check("the zip holds vostrel.exe, LICENSE and README.txt", names == ["vostrel.exe", "LICENSE", "README.txt"], names)
    with open(desktop.binary, "rb") as built:
        check("its vostrel.exe is the one built", exe == built.read())
    check("its README says what it is, its keys and where the settings live",
          all(text in readme for text in ("32-bit", "Esc", "Enter", "HKEY_CURRENT_USER\\Software\\Vostrel\\Main")))
    folder = desktop.path("alone")
    os.makedirs(folder)
    with open(os.path.join(folder, "vostrel.exe"), "wb") as alone:
        alone.write(exe)
    program = desktop.start_shown(exe=os.path.join(folder, "vostrel.exe"))
    type_text("2a")
    want = {"decimal": "42", "hex": "2A", "binary": "00101010"}
    check("alone in a folder it runs and converts", desktop.fields_become(want) == want, desktop.driver.fields())
    key("Escape")
    check("and closes with status 0", program.exit_status() == 0, program.process.returncode)
    check("the folder holds nothing else afterwards", os.listdir(folder) == ["vostrel.exe"], os.listdir(folder))


if __name__ == "__main__":
    sys.exit(main(__doc__))
