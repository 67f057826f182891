#!/usr/bin/python3
"""Plays two problems of the real program through the accessibility tree.

Usage: atspi_test.py PROGRAM [THEME]

THEME is the desktop's colour scheme: light (the default), breeze-dark (KDE's,
through kdeglobals), adwaita-dark (GNOME's, through Qt's GTK theme) or
high-contrast (yellow on black, through kdeglobals). Whatever the scheme, the
texts on the window's own backgrounds are read off the screen in the colours
of a light desktop, while the menu bar and the end-time box take the scheme's.

The outer run starts Xvfb on a free display, with a screen smaller than the
window's layout, and runs itself again ("--inner") under dbus-run-session.
The inner run starts the AT-SPI bus and a window manager, starts PROGRAM,
checks that the window, frame and all, fits on the screen,
reads the problem from the accessibility tree, types answers with real key
events (XTEST through xdotool) and reads the verdict and the counters back
from the tree. Every process started on the way is ended before exit.
"""

import collections
import functools
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import STEP_LIMIT, Failure, log, wait_for, xdotool  # noqa: E402

OUTER_LIMIT = 55  # seconds for everything, including start and cleanup
INNER_LIMIT = 40  # seconds for the part under dbus-run-session
# A small netbook's, smaller than the layout; the other schemes are tried on a
# screen that shows the whole layout.
SCREENS = {"light": (800, 480), "other": (1280, 1024)}


def outer(program, theme="light"):
    if theme not in THEMES:
        log(f"FAIL: no theme {theme}; the themes are {', '.join(THEMES)}")
        return 1
    if not desktop.prepare(program, ("openbox", "xdotool", "xprop", "xwininfo", "Xvfb", "dbus-run-session", "import")):
        return 1
    status = 1
    runtime_dir = tempfile.mkdtemp(prefix="tavola-a11y-")
    os.chmod(runtime_dir, 0o700)
    try:
        _, display = desktop.start_xvfb("%dx%d" % screen_for(theme))
        log(f"Xvfb on display {display}")
        env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime_dir)
        # Neither our bus nor our display may leak in from the caller.
        status = desktop.run_inner(__file__, [program, theme], env,
                                   ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY",
                                    "QT_QPA_PLATFORM"),
                                   OUTER_LIMIT - 10)
    except Failure as failure:
        log(f"FAIL: {failure}")
        status = 1
    finally:
        clean = desktop.end_all_descendants()
        shutil.rmtree(runtime_dir, ignore_errors=True)
    if status == 0 and not clean:
        status = 1
    log("PASS" if status == 0 else "FAILED")
    return status


# ---------------------------------------------------------------- the tree

class Window:
    """The program's accessible controls, found by their descriptions."""

    DESCRIPTIONS = {
        "num1": "primo numero",
        "num2": "secondo numero",
        "answer": "risposta",
        "message": "esito",
        "right": "risposte esatte",
        "wrong": "risposte errate",
        "total": "risposte totali",
        "next": "nuovo calcolo",
        "clock": "orologio",
        "exit": "esci",
    }

    def __init__(self, pyatspi, app):
        self.pyatspi = pyatspi
        self.app = app
        self.controls = {}
        everything = desktop.collect_tree(app, [])
        for key, description in self.DESCRIPTIONS.items():
            matches = [acc for acc in everything if acc.description == description]
            if len(matches) != 1:
                raise Failure(f"expected one object described '{description}', found {len(matches)}")
            self.controls[key] = matches[0]

    def _fresh(self, key):
        acc = self.controls[key]
        # The client library caches names; the window changes them under us.
        acc.clear_cache()
        return acc

    def name(self, key):
        return self._fresh(key).name

    def problem(self):
        return desktop.read_problem(lambda: self.name("num1"), lambda: self.name("num2"))

    def has_state(self, key, state):
        return self._fresh(key).getState().contains(state)

    def snapshot(self):
        return {key: self.name(key) for key in ("num1", "num2", "message", "right", "wrong", "total")}


def expect(window, what, wanted):
    """Waits until the labels show wanted (a dict key -> text)."""
    try:
        wait_for(what, lambda: all(window.name(key) == text for key, text in wanted.items()))
    except Failure:
        raise Failure(f"{what}: wanted {wanted}, the tree shows {window.snapshot()}") from None


def type_answer(window, window_id, text, look=lambda: None):
    state_focused = window.pyatspi.STATE_FOCUSED
    xdotool("windowfocus", "--sync", window_id)
    wait_for("the focus in the answer box", lambda: window.has_state("answer", state_focused))
    xdotool("type", "--delay", "40", "--", text)
    wait_for(f"'{text}' in the answer box", lambda: window._fresh("answer").queryText().getText(0, -1) == text)
    look()
    xdotool("key", "Return")


def screen_for(theme):
    return SCREENS.get(theme, SCREENS["other"])


def frame_on_screen(window_id, theme):
    """The window's frame (x, y, width, height) and its client's size when the frame lies within the screen."""
    def read(*command):
        return subprocess.run(command, capture_output=True, text=True, timeout=STEP_LIMIT).stdout

    client = dict(re.findall(r"^ *(Absolute upper-left [XY]|Width|Height): *(-?\d+)$",
                             read("xwininfo", "-id", window_id), re.MULTILINE))
    extents = read("xprop", "-id", window_id, "_NET_FRAME_EXTENTS")
    left, right, top, bottom = map(int, re.findall(r"\d+", extents.split("=")[1]))
    x, y = int(client["Absolute upper-left X"]) - left, int(client["Absolute upper-left Y"]) - top
    width, height = int(client["Width"]) + left + right, int(client["Height"]) + top + bottom
    screen = screen_for(theme)
    fits = x >= 0 and y >= 0 and x + width <= screen[0] and y + height <= screen[1]
    return (x, y, width, height, int(client["Width"]), int(client["Height"])) if fits else None


# ---------------------------------------------------------------- the screen

THEMES = ("light", "breeze-dark", "adwaita-dark", "high-contrast")
BLACK, CYAN, LIGHT_CYAN, PURPLE = (0, 0, 0), (0, 255, 255), (128, 255, 255), (192, 0, 192)
GREYED, SELECTION, WHITE = (190, 190, 190), (48, 140, 198), (255, 255, 255)  # a light desktop's


def theme_environment(theme, work):
    """What tells Qt the desktop's colour scheme is theme."""
    if theme == "adwaita-dark":
        return {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"}
    if theme == "light":
        return {}
    config = os.path.join(work, "config")
    os.makedirs(config, exist_ok=True)
    shutil.copy({"breeze-dark": "/usr/share/color-schemes/BreezeDark.colors",
                 "high-contrast": os.path.join(os.path.dirname(os.path.abspath(__file__)), "high_contrast.colors")}
                [theme], os.path.join(config, "kdeglobals"))
    return {"XDG_CURRENT_DESKTOP": "KDE", "KDE_SESSION_VERSION": "5", "XDG_CONFIG_HOME": config}


def screenshot():
    """The screen as it is, as a function of (x, y) to (red, green, blue)."""
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True, check=True,
                          timeout=STEP_LIMIT).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    width, pixels = int(header[1]), data[header.end():]
    return lambda x, y: tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])


def off_blend(pixel, back, text):
    """How far pixel lies from every mix of back and text."""
    span, seen = [t - b for t, b in zip(text, back)], [p - b for p, b in zip(pixel, back)]
    share = max(0.0, min(1.0, sum(a * b for a, b in zip(seen, span)) / sum(a * a for a in span)))
    return max(abs(s - share * d) for s, d in zip(seen, span))


def region(screen, acc, inset, top=0.0, height=1.0):
    """The part of acc's rectangle inside inset pixels, top and height as shares of its height, and on the
    screen."""
    x, y, w, h = acc.queryComponent().getExtents(0)  # screen coordinates
    x, y, w, h = x + inset, y + max(inset, int(h * top)), w - 2 * inset, min(h - 2 * inset, int(h * height))
    return x, y, max(0, min(w, screen[0] - x)), max(0, min(h, screen[1] - y))


def colours(box, blends, present):
    """A check of the screen: every pixel in box is one of blends' (back, text) or a mix of the two, and the
    colour present is there. A back of None is the colour most of box shows."""
    def problem(shot):
        x, y, w, h = box
        pixels = [shot(i, j) for j in range(y, y + h) for i in range(x, x + w)]
        if not pixels:
            return f"nothing on screen within {box}"
        common = collections.Counter(pixels).most_common(1)[0][0]
        mixes = [(back or common, text) for back, text in blends]
        stray = [pixel for pixel in set(pixels) if min(off_blend(pixel, *mix) for mix in mixes) > 40]
        if stray:
            return f"{stray[0]} is no mix of {mixes}"
        if not any(max(abs(a - b) for a, b in zip(pixel, present)) <= 40 for pixel in pixels):
            return f"no {present} within {box}"
        return None
    return problem


def desktop_part(box, dark):
    """A check of the screen: the desktop's own part in box has a dark background where the scheme is dark."""
    def problem(shot):
        back = collections.Counter(shot(i, j) for j in range(box[1], box[1] + box[3])
                                   for i in range(box[0], box[0] + box[2])).most_common(1)[0][0]
        return None if (sum(back) / 3 < 100) == dark else f"background {back}"
    return problem


def expect_screen(checks):
    """Waits until the screen passes every check, a dict of what it checks to the check."""
    problems = {}

    def probe():
        shot = screenshot()
        problems.clear()
        problems.update((what, problem) for what, check in checks.items() if (problem := check(shot)))
        return not problems

    try:
        wait_for("the screen", probe, limit=5)
    except Failure as failure:
        raise Failure("; ".join(f"{what}: {problem}" for what, problem in problems.items()) or str(failure)) from None


def play(program, theme):
    launcher, pyatspi = desktop.start_accessibility_bus()
    manager = desktop.start_window_manager(os.environ["XDG_RUNTIME_DIR"])

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               **theme_environment(theme, os.environ["XDG_RUNTIME_DIR"]))
    if theme == "adwaita-dark":  # and an Italian keyboard, as many a pupil's
        subprocess.run(["setxkbmap", "it"], check=True, timeout=STEP_LIMIT)
    dark = theme != "light"
    tavola = subprocess.Popen([program], env=env)
    log(f"started {program} as pid {tavola.pid}")
    try:
        app = desktop.find_application(pyatspi, tavola, "Vorlando")
        window = Window(pyatspi, app)
        window_id = wait_for("the window 'Vorlando' on the display",
                             lambda: xdotool("search", "--onlyvisible", "--pid", str(tavola.pid), "--name", "^Vorlando$")
                             .split("\n")[0])
        frame = wait_for('the whole frame on the screen', lambda: frame_on_screen(window_id, theme))
        log(f"the frame {frame[:4]} fits")
        # The desktop ties the window to tavola.desktop by its class.
        wm_class = subprocess.run(["xprop", "-id", window_id, "WM_CLASS"], capture_output=True, text=True,
                                  timeout=STEP_LIMIT).stdout
        if '"tavola", "Tavola"' not in wm_class:
            raise Failure(f"the window's class is {wm_class.strip()}")

        first, second = window.problem()
        right = first - second
        # The texts on the window's own backgrounds in a light desktop's
        # colours, the menu bar in the scheme's.
        wait_for("the clock", lambda: window.name("clock"))
        everything = desktop.collect_tree(app, [])
        tiles = [acc for acc in everything if acc.getRole() == pyatspi.ROLE_LABEL and acc.name in ("-", "=")]
        menu_bar = [acc for acc in everything if acc.getRole() == pyatspi.ROLE_MENU_BAR]
        if len(tiles) != 2 or len(menu_bar) != 1:
            raise Failure(f"found {len(tiles)} tiles '-' and '=' and {len(menu_bar)} menu bars")
        # The whole layout below the menu bar where the screen has room for it, else the whole screen.
        bar_height = menu_bar[0].queryComponent().getExtents(0)[3]
        opened, wanted = (frame[2:4], screen_for(theme)) if theme == "light" else (frame[4:], (1006, 554 + bar_height))
        if opened != wanted:
            raise Failure(f"the window opened at {opened}, not {wanted}")
        on_screen = functools.partial(region, screen_for(theme))
        caption = {key: on_screen(window.controls[key], 6, 0.62, 0.3) for key in ("next", "exit")}
        # The new-problem button is below the netbook's screen.
        next_shown = caption["next"][3] > 0
        expect_screen({
            # A long operand reaches under the tile or the bracket in front of it.
            **{key: colours(on_screen(window.controls[key], 3), [(CYAN, BLACK), (LIGHT_CYAN, BLACK)], BLACK)
               for key in ("num1", "num2")},
            **{tile.name: colours(on_screen(tile, 1), [(LIGHT_CYAN, BLACK)], BLACK) for tile in tiles},
            **{key: colours(on_screen(window.controls[key], 3), [(None, BLACK)], BLACK) for key in ("clock", "right")},
            **({"the disabled 'Nuovo calcolo'": colours(caption["next"], [(CYAN, GREYED)], GREYED)} if next_shown else {}),
            "'Exit'": colours(caption["exit"], [(PURPLE, BLACK)], BLACK),
            "the menu bar": desktop_part(on_screen(menu_bar[0], 0), dark),
        })

        def answer_and_selection():
            box = on_screen(window.controls["answer"], 4)
            expect_screen({"the answer": colours(box, [(CYAN, BLACK)], BLACK)})
            xdotool("key", "shift+Home")
            expect_screen({"the selected answer": colours(box, [(CYAN, BLACK), (SELECTION, WHITE)], SELECTION)})

        log(f"problem {first} - ({second}); typing {right}")
        type_answer(window, window_id, str(right), answer_and_selection)
        expect(window, "the verdict after a right answer",
               {"message": "Esatto, è incredibile!!!", "right": "1", "wrong": "0", "total": "1"})
        if next_shown:
            expect_screen({"'Nuovo calcolo'": colours(caption["next"], [(CYAN, BLACK)], BLACK)})
        # The end-time box is the desktop's.
        xdotool("key", "F2")
        box = wait_for("the end-time box", lambda: [acc for acc in desktop.collect_tree(app, [])
                                                    if acc.getRole() == pyatspi.ROLE_DIALOG])
        expect_screen({"the end-time box": desktop_part(on_screen(box[0], 4), dark)})
        xdotool("key", "Escape")
        wait_for("the end-time box closed", lambda: not [acc for acc in desktop.collect_tree(app, [])
                                                         if acc.getRole() == pyatspi.ROLE_DIALOG])
        log(f"the window's own colours hold on the {theme} desktop, whose colours the menu bar and boxes take")

        # Enter on the focused button draws the next problem.
        wait_for("the focus on 'nuovo calcolo'", lambda: window.has_state("next", pyatspi.STATE_FOCUSED))
        xdotool("key", "Return")
        wait_for("the next problem (verdict cleared, 'nuovo calcolo' disabled)",
                 lambda: window.name("message") == "" and not window.has_state("next", pyatspi.STATE_ENABLED))

        first, second = window.problem()
        right = first - second
        wrong = right + 1
        log(f"problem {first} - ({second}); typing the wrong {wrong}")
        type_answer(window, window_id, str(wrong))
        expect(window, "the verdict after a wrong answer",
               {"message": f"Sbagliato!! {right}", "right": "1", "wrong": "1", "total": "2"})

        if tavola.poll() is not None:
            raise Failure(f"the program exited with status {tavola.returncode}")
        log("both answers were judged and counted as expected")

        # Minimised, the window is known to a screen reader by its title,
        # which tells the time; restored, by its name again.
        frame = app.getChildAtIndex(0)

        def frame_name():
            frame.clear_cache()
            return frame.name

        xdotool("windowminimize", window_id)
        shown = wait_for("a time as the minimised window's name",
                         lambda: frame_name() if re.fullmatch(r"\d\d:\d\d [AP]M", frame_name()) else None)
        xdotool("windowactivate", "--sync", window_id)
        wait_for("'Vorlando' as the restored window's name", lambda: frame_name() == "Vorlando")
        log(f"minimised, the window is named '{shown}'; restored, 'Vorlando'")

        # The access keys, as real key events: Alt+N draws the next problem,
        # Alt+X ends the program at once and cleanly, and so does closing the
        # window through the window manager.
        xdotool("key", "alt+n")
        wait_for("the next problem after Alt+N",
                 lambda: window.name("message") == "" and not window.has_state("next", pyatspi.STATE_ENABLED))
        # On the other schemes the window is closed by its frame instead.
        leave = "alt+x" if theme == "light" else "alt+F4"
        xdotool("key", leave)
        desktop.expect_clean_exit(tavola, leave)
        log(f"Alt+N and {leave} work")
    finally:
        desktop.stop(tavola, manager, launcher)


def inner(program, theme):
    return desktop.run_bounded(lambda program: play(program, theme), program, INNER_LIMIT)


if __name__ == "__main__":
    sys.exit(desktop.main(sys.argv, outer, inner, __doc__))
