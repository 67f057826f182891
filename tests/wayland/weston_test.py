#!/usr/bin/python3
"""Starts the real program on a headless Wayland compositor and reads its window
through the accessibility tree.

Usage: weston_test.py PROGRAM

The outer run starts weston headless on a private socket and an X server
beside it, as a desktop with XWayland offers both, and runs itself again
("--inner") under dbus-run-session. The inner run starts the AT-SPI bus, starts
PROGRAM with QT_QPA_PLATFORM=wayland, and checks through the tree that the
window "Vorlando" is there and not on the X display, that a first problem is on
show and that the clock runs. Started again without QT_QPA_PLATFORM, the
program must open its window on the X display. weston has no keyboard, so the window never gets the
focus: what must show on start has to show without it. Every process started
on the way is ended before exit.
"""

import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

# The shared helpers; a test run writes nothing into the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "a11y"))
import desktop  # noqa: E402  (shared with the accessibility tests)
from desktop import Failure, log, wait_for  # noqa: E402

OUTER_LIMIT = 55  # seconds for everything, including start and cleanup
INNER_LIMIT = 35  # seconds for the part under dbus-run-session
CLOCK_LIMIT = 4  # seconds within which a running clock must change
CLOCK_SLACK = 10  # seconds the shown time may differ from this machine's


def start_weston(runtime_dir):
    """Starts weston headless; returns (process, socket name, log path) once it accepts clients."""
    name = f"tavola-test-{os.getpid()}"
    log_path = os.path.join(runtime_dir, "weston.log")
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime_dir)
    for variable in ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"):
        env.pop(variable, None)
    # --no-config: a weston.ini of whoever runs the tests must not change the desktop.
    weston = subprocess.Popen(
        ["weston", "--backend=headless-backend.so", f"--socket={name}", "--no-config", f"--log={log_path}"],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    path = os.path.join(runtime_dir, name)

    def accepting():
        if weston.poll() is not None:
            raise Failure(f"weston exited with status {weston.returncode}; its log:\n{read_text(log_path)}")
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
            try:
                probe.connect(path)
            except OSError:
                return False
        return True

    wait_for(f"weston to accept clients on {path}", accepting)
    return weston, name, log_path


def read_text(path):
    try:
        with open(path, errors="replace") as text:
            return text.read()
    except OSError as error:
        return f"(cannot read {path}: {error})"


def outer(program):
    if not desktop.prepare(program, ("xdotool",)):
        return 1
    status = 1
    started = time.monotonic()
    runtime_dir = tempfile.mkdtemp(prefix="tavola-wayland-")
    os.chmod(runtime_dir, 0o700)
    weston = None
    try:
        weston, name, weston_log = start_weston(runtime_dir)
        _, display = desktop.start_xvfb()
        log(f"weston headless on {name}, X on {display}")
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime_dir, WAYLAND_DISPLAY=name, DISPLAY=display,
                   QT_QPA_PLATFORM="wayland")
        # No bus from the caller.
        status = desktop.run_inner(__file__, [program], env,
                                   ("WAYLAND_SOCKET", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"),
                                   OUTER_LIMIT - 10)
    except Failure as failure:
        log(f"FAIL: {failure}")
        status = 1
    finally:
        if weston is not None and weston.poll() is not None:
            log(f"weston ended early with status {weston.returncode}; its log:\n{read_text(weston_log)}")
            status = 1
        clean = desktop.end_all_descendants()
        shutil.rmtree(runtime_dir, ignore_errors=True)
    if status == 0 and not clean:
        status = 1
    log(f"{'PASS' if status == 0 else 'FAILED'} in {time.monotonic() - started:.1f} s")
    return status


# ---------------------------------------------------------------- the window

def label(app, description):
    acc = desktop.described(app, description)

    def name():
        # The client library caches names; the window changes them under us.
        acc.clear_cache()
        return acc.name

    return name


def check_problem(app):
    a, b = desktop.read_problem(label(app, "primo numero"), label(app, "secondo numero"))
    if not (-20 <= a <= 20 and -20 <= b <= 20):
        raise Failure(f"the problem {a} - ({b}) has a number outside -20..20")
    log(f"first problem on show: {a} - ({b})")


def seconds_of_day(text):
    match = re.fullmatch(r"(\d{2}):(\d{2}):(\d{2})", text)
    if not match:
        return None
    hours, minutes, seconds = (int(part) for part in match.groups())
    if hours > 23 or minutes > 59 or seconds > 59:
        return None
    return hours * 3600 + minutes * 60 + seconds


def check_clock(app):
    clock = label(app, "orologio")
    shown = wait_for("a time in 'orologio'", lambda: clock() if seconds_of_day(clock()) is not None else None)
    # The program and this test share the time zone through the environment.
    now = time.localtime()
    gap = abs(seconds_of_day(shown) - (now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec))
    if min(gap, 86400 - gap) > CLOCK_SLACK:
        raise Failure(f"the clock shows {shown} at {time.strftime('%H:%M:%S', now)}")
    try:
        later = wait_for("the clock to move on", lambda: clock() if clock() != shown else None, CLOCK_LIMIT)
    except Failure:
        raise Failure(f"the clock stood at {shown} for {CLOCK_LIMIT} s") from None
    if seconds_of_day(later) is None:
        raise Failure(f"the clock went from {shown} to {later!r}, which is no time")
    log(f"the clock runs: {shown}, then {later}")


def check_told(protocol_log):
    """What the compositor is told of the program: the desktop file it belongs to and its title."""
    told = read_text(protocol_log)
    for wanted in ('set_app_id("tavola")', 'set_title("Vorlando")'):
        if not re.search(r"xdg_toplevel@\d+\." + re.escape(wanted), told):
            raise Failure(f"the window never said {wanted} to the compositor")
    log("the compositor was told the app id 'tavola' and the title 'Vorlando'")


def on_x():
    """The ids of the X windows named Vorlando."""
    found = subprocess.run(["xdotool", "search", "--name", "^Vorlando$"], capture_output=True, text=True)
    return found.stdout.split()


def run(program):
    launcher, pyatspi = desktop.start_accessibility_bus()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    protocol_log = os.path.join(os.environ["XDG_RUNTIME_DIR"], "protocol.log")
    with open(protocol_log, "w") as protocol:
        tavola = subprocess.Popen([program], env=dict(env, WAYLAND_DEBUG="client"), stderr=protocol)
    log(f"started {program} as pid {tavola.pid} with QT_QPA_PLATFORM=wayland, Wayland and X both there")
    try:
        app = desktop.find_application(pyatspi, tavola, "Vorlando")
        log("the window 'Vorlando' is in the tree")
        # Every check, so that one failure does not hide another.
        failures = []
        if on_x():
            failures.append("the window opened on the X display, not on Wayland as QT_QPA_PLATFORM asks")
        for check in (check_problem, check_clock, lambda _: check_told(protocol_log)):
            try:
                check(app)
            except Failure as failure:
                failures.append(str(failure))
        if tavola.poll() is not None:
            failures.append(f"the program exited with status {tavola.returncode}")
        desktop.stop(tavola)
        # Left to itself, with both displays there, it prefers X (XWayland).
        del env["QT_QPA_PLATFORM"]
        tavola = subprocess.Popen([program], env=env)
        try:
            wait_for("the window on the X display", on_x)
            log("without QT_QPA_PLATFORM the window opened on the X display")
        except Failure as failure:
            failures.append(str(failure))
        if failures:
            raise Failure("; ".join(failures))
    finally:
        desktop.stop(tavola, launcher)


def inner(program):
    return desktop.run_bounded(run, program, INNER_LIMIT)


if __name__ == "__main__":
    sys.exit(desktop.main(sys.argv, outer, inner, __doc__))
