#!/usr/bin/python3
"""Plays two problems of the real program through the accessibility tree.

Usage: atspi_test.py PROGRAM

The outer run starts Xvfb on a free display and runs itself again ("--inner")
under dbus-run-session. The inner run starts the AT-SPI bus, starts PROGRAM,
reads the problem from the accessibility tree, types answers with real key
events (XTEST through xdotool) and reads the verdict and the counters back
from the tree. Every process started on the way is ended before exit.
"""

import ctypes
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

OUTER_LIMIT = 55  # seconds for everything, including start and cleanup
INNER_LIMIT = 40  # seconds for the part under dbus-run-session
STEP_LIMIT = 10  # seconds to wait for any one change in the window

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
PR_SET_CHILD_SUBREAPER = 36


class Failure(Exception):
    pass


def log(message):
    print(message, flush=True)


# ---------------------------------------------------------------- processes

def descendants(root_pid):
    """Pids of the live processes below root_pid, deepest last."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if fields[0] != "Z":
            parents[int(entry)] = int(fields[1])
    found, frontier = [], [root_pid]
    while frontier:
        children = [pid for pid, parent in parents.items() if parent in frontier]
        found.extend(children)
        frontier = children
    return found


def reap():
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


def end_all_descendants():
    """Ends every process this run started, however deep it was spawned.

    As a child subreaper this process inherits orphans (the daemons that
    dbus-run-session and at-spi-bus-launcher spawn), so its tree holds them all.
    """
    for sig, grace in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 2.0)):
        pids = descendants(os.getpid())
        if not pids:
            break
        for pid in pids:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + grace
        while time.monotonic() < deadline and descendants(os.getpid()):
            reap()
            time.sleep(0.05)
    reap()
    left = descendants(os.getpid())
    if left:
        log(f"could not end processes {left}")
    return not left


def start_xvfb_on(number):
    """Starts Xvfb on :number; returns the process once it accepts clients, or None."""
    read_end, write_end = os.pipe()
    # -noreset: the bus launcher is the first client and leaves at once; a
    # server that resets then would refuse the program connecting meanwhile.
    xvfb = subprocess.Popen(
        ["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    deadline = time.monotonic() + 10
    data = b""
    os.set_blocking(read_end, False)
    try:
        while not data.endswith(b"\n"):
            if xvfb.poll() is not None:
                return None
            if time.monotonic() > deadline:
                xvfb.kill()
                xvfb.wait()
                return None
            try:
                data += os.read(read_end, 16)
            except BlockingIOError:
                time.sleep(0.05)
    finally:
        os.close(read_end)
    return xvfb


def start_xvfb():
    """Starts Xvfb on a free display; returns (process, ':N').

    Other programs on this machine may run X servers on the low numbers that
    Xvfb would pick by itself, so try random high ones.
    """
    for number in random.sample(range(300, 3000), 20):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        xvfb = start_xvfb_on(number)
        if xvfb is not None:
            return xvfb, f":{number}"
    raise Failure("could not start Xvfb on a free display")


def outer(program):
    if not os.access(program, os.X_OK):
        log(f"FAIL: {program} is not an executable program")
        return 1
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        log("FAIL: cannot become a child subreaper, so cleanup could not be guaranteed")
        return 1
    # Stopped from outside (Ctrl+C, a killed test run): still clean up.
    def stopped(signum, frame):
        raise Failure(f"stopped by signal {signum}")

    signal.signal(signal.SIGTERM, stopped)
    signal.signal(signal.SIGINT, stopped)
    status = 1
    runtime_dir = tempfile.mkdtemp(prefix="tavola-a11y-")
    os.chmod(runtime_dir, 0o700)
    try:
        _, display = start_xvfb()
        log(f"Xvfb on display {display}")
        env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime_dir)
        # Neither our bus nor our display may leak in from the caller.
        for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        inner_run = subprocess.Popen(
            ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), "--inner", program],
            env=env, start_new_session=True)
        try:
            status = inner_run.wait(timeout=OUTER_LIMIT - 10)
        except subprocess.TimeoutExpired:
            log(f"FAIL: the run did not finish within {OUTER_LIMIT - 10} s")
            status = 1
    except Failure as failure:
        log(f"FAIL: {failure}")
        status = 1
    finally:
        clean = end_all_descendants()
        shutil.rmtree(runtime_dir, ignore_errors=True)
    if status == 0 and not clean:
        status = 1
    log("PASS" if status == 0 else "FAILED")
    return status


# ---------------------------------------------------------------- the tree

def wait_for(what, probe, limit=STEP_LIMIT):
    """Polls probe() until it returns something truthy; returns that."""
    deadline = time.monotonic() + limit
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Failure:
            raise
        except Exception as error:  # the tree may be mid-change
            last_error = error
        time.sleep(0.1)
    detail = f" (last error: {last_error})" if last_error else ""
    raise Failure(f"timed out waiting for {what}{detail}")


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
        everything = []
        self._collect(app, everything)
        for key, description in self.DESCRIPTIONS.items():
            matches = [acc for acc in everything if acc.description == description]
            if len(matches) != 1:
                raise Failure(f"expected one object described '{description}', found {len(matches)}")
            self.controls[key] = matches[0]

    def _collect(self, acc, out):
        out.append(acc)
        for index in range(acc.childCount):
            child = acc.getChildAtIndex(index)
            if child is not None:
                self._collect(child, out)

    def _fresh(self, key):
        acc = self.controls[key]
        # The client library caches names; the window changes them under us.
        acc.clear_cache()
        return acc

    def name(self, key):
        return self._fresh(key).name

    def has_state(self, key, state):
        return self._fresh(key).getState().contains(state)

    def snapshot(self):
        return {key: self.name(key) for key in ("num1", "num2", "message", "right", "wrong", "total")}


def find_application(pyatspi, process):
    pid = process.pid

    def probe():
        if process.poll() is not None:
            raise Failure(f"the program exited with status {process.returncode} before its window was seen")
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.get_process_id() == pid:
                for child_index in range(app.childCount):
                    frame = app.getChildAtIndex(child_index)
                    if frame.getRole() == pyatspi.ROLE_FRAME and frame.name == "Vorlando":
                        return app
        return None

    return wait_for(f"the program (pid {pid}) with its window 'Vorlando' in the accessibility tree", probe)


def xdotool(*args):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=STEP_LIMIT)
    if result.returncode != 0:
        raise Failure(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
    return result.stdout.strip()


def read_problem(window):
    def probe():
        first, second = window.name("num1"), window.name("num2")
        try:
            return int(first), int(second)
        except ValueError:
            return None

    return wait_for("two numbers in 'primo numero' and 'secondo numero'", probe)


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


def wait_for_accessibility_bus(launcher):
    """Waits until the launcher hands out the address of a running AT-SPI bus."""
    from gi.repository import Gio, GLib

    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def probe():
        if launcher.poll() is not None:
            raise Failure(f"{BUS_LAUNCHER} exited with status {launcher.returncode}")
        owned = session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                  "NameHasOwner", GLib.Variant("(s)", ("org.a11y.Bus",)), None,
                                  Gio.DBusCallFlags.NO_AUTO_START, 1000, None).unpack()[0]
        if not owned:
            return None
        return session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, None,
                                 Gio.DBusCallFlags.NO_AUTO_START, 1000, None).unpack()[0]

    return wait_for("the AT-SPI bus", probe)


def play(program):
    import gi
    gi.require_version("Atspi", "2.0")

    launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"])
    log(f"AT-SPI bus at {wait_for_accessibility_bus(launcher)}")
    import pyatspi

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    tavola = subprocess.Popen([program], env=env)
    log(f"started {program} as pid {tavola.pid}")
    try:
        app = find_application(pyatspi, tavola)
        window = Window(pyatspi, app)
        window_id = wait_for("the window 'Vorlando' on the display",
                             lambda: xdotool("search", "--onlyvisible", "--pid", str(tavola.pid), "--name", "^Vorlando$")
                             .split("\n")[0])

        first, second = read_problem(window)
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

        first, second = read_problem(window)
        right = first - second
        wrong = right + 1
        log(f"problem {first} - ({second}); typing the wrong {wrong}")
        type_answer(window, window_id, str(wrong))
        expect(window, "the verdict after a wrong answer",
               {"message": f"Sbagliato!! {right}", "right": "1", "wrong": "1", "total": "2"})

        if tavola.poll() is not None:
            raise Failure(f"the program exited with status {tavola.returncode}")
        log("both answers were judged and counted as expected")

        # The access keys, as real key events: Alt+N draws the next problem,
        # Alt+X ends the program at once and cleanly.
        xdotool("key", "alt+n")
        wait_for("the next problem after Alt+N",
                 lambda: window.name("message") == "" and not window.has_state("next", pyatspi.STATE_ENABLED))
        xdotool("key", "alt+x")
        try:
            status = tavola.wait(timeout=STEP_LIMIT)
        except subprocess.TimeoutExpired:
            raise Failure("Alt+X did not end the program") from None
        if status != 0:
            raise Failure(f"the program ended with status {status} after Alt+X")
        log("Alt+N and Alt+X work")
    finally:
        for process in (tavola, launcher):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


def inner(program):
    def too_slow(signum, frame):
        raise Failure(f"no result within {INNER_LIMIT} s")

    signal.signal(signal.SIGALRM, too_slow)
    signal.alarm(INNER_LIMIT)
    try:
        play(program)
        return 0
    except Failure as failure:
        log(f"FAIL: {failure}")
        return 1
    finally:
        signal.alarm(0)


def main(argv):
    if len(argv) == 3 and argv[1] == "--inner":
        return inner(argv[2])
    if len(argv) == 2:
        return outer(argv[1])
    log(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
