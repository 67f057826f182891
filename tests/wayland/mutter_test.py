#!/usr/bin/python3
"""Plays the real program natively on GNOME's compositor, mutter, headless, and
checks where mutter places the end-time box: centred over the window.

Usage: mutter_test.py PROGRAM

The outer run starts mutter headless on a D-Bus session of its own, with its
placement log on, and mutter runs this script again ("--inner") as its
client. The inner run starts PROGRAM with QT_QPA_PLATFORM=wayland, presses F2
through mutter's remote-desktop interface (real keys, as a keyboard gives
them), reads the places of the window and of the box from mutter's log, then
presses Esc and Alt+X and expects the program to end with status 0.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "a11y"))
import desktop  # noqa: E402  (shared with the accessibility tests)
from desktop import Failure, log, wait_for  # noqa: E402

OUTER_LIMIT = 60  # seconds for everything
KEYSYMS = {"F2": 0xFFBF, "Escape": 0xFF1B, "Alt": 0xFFE9, "x": 0x78}
# mutter's placement log: the place it gives each new window, in order.
PLACED = re.compile(r"Placing window (W\d+)\n(?:.*\n)*?.*info->current is (-?\d+),(-?\d+) \+(\d+),(\d+) "
                    r"after constrain_partially_onscreen")


def outer(program):
    if not desktop.prepare(program, ("mutter", "dbus-run-session")):
        return 1
    started = time.monotonic()
    work = tempfile.mkdtemp(prefix="tavola-mutter-")
    os.chmod(work, 0o700)
    mutter_log = os.path.join(work, "mutter.log")
    env = {name: value for name, value in os.environ.items()
           if name not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
    env.update(XDG_RUNTIME_DIR=work, HOME=work, MUTTER_DEBUG="placement,geometry", TAVOLA_MUTTER_LOG=mutter_log)
    try:
        with open(mutter_log, "w") as output:
            run = subprocess.run(
                ["dbus-run-session", "--", "mutter", "--wayland", "--headless", "--virtual-monitor", "1280x1024",
                 "--wayland-display", f"tavola-mutter-{os.getpid()}", "--",
                 sys.executable, os.path.abspath(__file__), "--inner", program],
                env=env, stdout=subprocess.PIPE, stderr=output, text=True, timeout=OUTER_LIMIT - 10)
        sys.stdout.write(run.stdout)
        status = 0 if "PASS inner" in run.stdout else 1
    except subprocess.TimeoutExpired:
        log("FAIL: the run did not finish in time")
        status = 1
    finally:
        clean = desktop.end_all_descendants()
        shutil.rmtree(work, ignore_errors=True)
    status = status if clean else 1
    log(f"{'PASS' if status == 0 else 'FAILED'} in {time.monotonic() - started:.1f} s")
    return status


def placements():
    with open(os.environ["TAVOLA_MUTTER_LOG"], errors="replace") as text:
        return [tuple(map(int, found[1:])) for found in PLACED.findall(text.read())]


def run(program):
    from gi.repository import Gio, GLib  # Debian's python3-gi, with pyatspi

    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def remote(path, method, args=None, reply=None):
        interface = "org.gnome.Mutter.RemoteDesktop" + (".Session" if "Session" in path else "")
        return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                             reply and GLib.VariantType(reply), Gio.DBusCallFlags.NONE, 5000, None)

    session = remote("/org/gnome/Mutter/RemoteDesktop", "CreateSession", reply="(o)").unpack()[0]
    remote(session, "Start")

    def keys(*names):
        for name in names:
            remote(session, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (KEYSYMS[name], True)))
        for name in reversed(names):
            remote(session, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (KEYSYMS[name], False)))

    tavola = subprocess.Popen([program], env=dict(os.environ, QT_QPA_PLATFORM="wayland"))
    try:
        window = wait_for("mutter to place the window", lambda: placements()[:1])[0]

        # F2 until the box comes: the window takes the keyboard a moment
        # after it is placed. A second F2 reaches the open box, which ignores it.
        def box_placed():
            keys("F2")
            time.sleep(0.5)
            return placements()[1:2]

        box = wait_for("mutter to place the end-time box", box_placed)[0]
        log(f"the window at {window}, the box at {box}")
        (wx, wy, ww, wh), (bx, by, bw, bh) = window, box
        if abs((bx + bw / 2) - (wx + ww / 2)) > 2 or not wy < by < by + bh < wy + wh:
            raise Failure(f"the box at {box} is not centred over the window at {window}")
        keys("Escape")
        time.sleep(0.5)
        keys("Alt", "x")
        desktop.expect_clean_exit(tavola)
        log("Esc closed the box and Alt+X ended the program with status 0")
    finally:
        desktop.stop(tavola)


def inner(program):
    status = desktop.run_bounded(run, program, OUTER_LIMIT - 20)
    if status == 0:
        log("PASS inner")
    return status


if __name__ == "__main__":
    sys.exit(desktop.main(sys.argv, outer, inner, __doc__))
