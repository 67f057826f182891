#!/usr/bin/python3
"""Plays two problems of the real program through the accessibility tree.

Usage: atspi_test.py PROGRAM

The outer run starts Xvfb on a free display, with a screen smaller than the
window's layout, and runs itself again ("--inner") under dbus-run-session.
The inner run starts the AT-SPI bus and a window manager, starts PROGRAM,
checks that the window, frame and all, fits on the screen,
reads the problem from the accessibility tree, types answers with real key
events (XTEST through xdotool) and reads the verdict and the counters back
from the tree. Every process started on the way is ended before exit.
"""

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
SCREEN = (800, 480)  # a small netbook's, smaller than the layout


def outer(program):
    if not desktop.prepare(program, ("openbox", "xdotool", "xprop", "xwininfo", "Xvfb", "dbus-run-session")):
        return 1
    status = 1
    runtime_dir = tempfile.mkdtemp(prefix="tavola-a11y-")
    os.chmod(runtime_dir, 0o700)
    try:
        _, display = desktop.start_xvfb("%dx%d" % SCREEN)
        log(f"Xvfb on display {display}")
        env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime_dir)
        # Neither our bus nor our display may leak in from the caller.
        status = desktop.run_inner(__file__, [program], env,
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


def type_answer(window, window_id, text):
    state_focused = window.pyatspi.STATE_FOCUSED
    xdotool("windowfocus", "--sync", window_id)
    wait_for("the focus in the answer box", lambda: window.has_state("answer", state_focused))
    xdotool("type", "--delay", "40", "--", text)
    wait_for(f"'{text}' in the answer box", lambda: window._fresh("answer").queryText().getText(0, -1) == text)
    xdotool("key", "Return")


def frame_on_screen(window_id):
    """The window's frame (x, y, width, height) when it lies within the screen."""
    def read(*command):
        return subprocess.run(command, capture_output=True, text=True, timeout=STEP_LIMIT).stdout

    client = dict(re.findall(r"^ *(Absolute upper-left [XY]|Width|Height): *(-?\d+)$",
                             read("xwininfo", "-id", window_id), re.MULTILINE))
    extents = read("xprop", "-id", window_id, "_NET_FRAME_EXTENTS")
    left, right, top, bottom = map(int, re.findall(r"\d+", extents.split("=")[1]))
    x, y = int(client["Absolute upper-left X"]) - left, int(client["Absolute upper-left Y"]) - top
    width, height = int(client["Width"]) + left + right, int(client["Height"]) + top + bottom
    fits = x >= 0 and y >= 0 and x + width <= SCREEN[0] and y + height <= SCREEN[1]
    return (x, y, width, height) if fits else None


def play(program):
    launcher, pyatspi = desktop.start_accessibility_bus()
    manager = desktop.start_window_manager(os.environ["XDG_RUNTIME_DIR"])

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    tavola = subprocess.Popen([program], env=env)
    log(f"started {program} as pid {tavola.pid}")
    try:
        app = desktop.find_application(pyatspi, tavola, "Vorlando")
        window = Window(pyatspi, app)
        window_id = wait_for("the window 'Vorlando' on the display",
                             lambda: xdotool("search", "--onlyvisible", "--pid", str(tavola.pid), "--name", "^Vorlando$")
                             .split("\n")[0])
        log(f"the frame {wait_for('the whole frame on the screen', lambda: frame_on_screen(window_id))} fits")

        first, second = window.problem()
        right = first - second
        log(f"problem {first} - ({second}); typing {right}")
        type_answer(window, window_id, str(right))
        expect(window, "the verdict after a right answer",
               {"message": "Esatto, è incredibile!!!", "right": "1", "wrong": "0", "total": "1"})

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
        # Alt+X ends the program at once and cleanly.
        xdotool("key", "alt+n")
        wait_for("the next problem after Alt+N",
                 lambda: window.name("message") == "" and not window.has_state("next", pyatspi.STATE_ENABLED))
        xdotool("key", "alt+x")
        desktop.expect_clean_exit(tavola)
        log("Alt+N and Alt+X work")
    finally:
        desktop.stop(tavola, manager, launcher)


def inner(program):
    return desktop.run_bounded(play, program, INNER_LIMIT)


if __name__ == "__main__":
    sys.exit(desktop.main(sys.argv, outer, inner, __doc__))
