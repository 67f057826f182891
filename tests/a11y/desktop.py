"""A private X display, D-Bus session and AT-SPI bus for the real-desktop tests.

The tests run as child subreapers: every daemon that dbus-run-session,
at-spi-bus-launcher or a screen reader spawns ends up below the test's own
process, so end_all_descendants() can end them all, however deep.
"""

import ctypes
import inspect
import os
import random
import shutil
import signal
import subprocess
import sys
import time

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
PR_SET_CHILD_SUBREAPER = 36
STEP_LIMIT = 10  # seconds to wait for any one change in the window


class Failure(Exception):
    pass


def log(message):
    print(message, flush=True)


# ---------------------------------------------------------------- the run

def prepare(program, tools=()):
    """Checks what the run needs and makes sure it can clean up after itself.

    Logs why and returns False when the run cannot go ahead.
    """
    if not os.access(program, os.X_OK):
        log(f"FAIL: {program} is not an executable program")
        return False
    for tool in tools:
        if shutil.which(tool) is None:
            log(f"FAIL: {tool} is not installed")
            return False
    if not become_subreaper():
        log("FAIL: cannot become a child subreaper, so cleanup could not be guaranteed")
        return False

    # Stopped from outside (Ctrl+C, a killed test run): still clean up.
    def stopped(signum, frame):
        raise Failure(f"stopped by signal {signum}")

    signal.signal(signal.SIGTERM, stopped)
    signal.signal(signal.SIGINT, stopped)
    return True


def run_bounded(play, program, limit):
    """Runs play(program) for at most limit seconds; 0 when it passed."""
    def too_slow(signum, frame):
        raise Failure(f"no result within {limit} s")

    signal.signal(signal.SIGALRM, too_slow)
    signal.alarm(limit)
    try:
        play(program)
        return 0
    except Failure as failure:
        log(f"FAIL: {failure}")
        return 1
    finally:
        signal.alarm(0)


def run_inner(script, args, env, drop, limit):
    """Runs script --inner ARGS... on a D-Bus session of its own, without the
    variables named in drop; its exit status, or 1 when it outlasts limit s."""
    env = {name: value for name, value in env.items() if name not in drop}
    inner_run = subprocess.Popen(
        ["dbus-run-session", "--", sys.executable, os.path.abspath(script), "--inner", *args],
        env=env, start_new_session=True)
    try:
        return inner_run.wait(timeout=limit)
    except subprocess.TimeoutExpired:
        log(f"FAIL: the run did not finish within {limit:.0f} s")
        return 1


def main(argv, outer, inner, usage):
    """PROGRAM [ARGS...] runs the whole test; --inner ARGS... the part inside the session."""
    if len(argv) >= 3 and argv[1] == "--inner":
        return inner(*argv[2:])
    try:
        inspect.signature(outer).bind(*argv[1:])
    except TypeError:
        log(usage)
        return 2
    return outer(*argv[1:])


# ---------------------------------------------------------------- processes

def become_subreaper():
    libc = ctypes.CDLL(None, use_errno=True)
    return libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) == 0


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


def stop(*processes):
    """Ends the given processes (Popen objects), politely first."""
    for process in processes:
        if process is not None and process.poll() is None:
            process.terminate()
    for process in processes:
        if process is None:
            continue
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


# ---------------------------------------------------------------- the display

def start_xvfb_on(number, size):
    """Starts Xvfb on :number; returns the process once it accepts clients, or None."""
    read_end, write_end = os.pipe()
    # -noreset: the bus launcher is the first client and leaves at once; a
    # server that resets then would refuse the program connecting meanwhile.
    xvfb = subprocess.Popen(
        ["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen", "0", f"{size}x24", "-nolisten", "tcp",
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


def start_xvfb(size="1280x1024"):
    """Starts Xvfb on a free display with one screen of size; returns (process, ':N').

    Other programs on this machine may run X servers on the low numbers that
    Xvfb would pick by itself, so try random high ones.
    """
    for number in random.sample(range(300, 3000), 20):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        xvfb = start_xvfb_on(number, size)
        if xvfb is not None:
            return xvfb, f":{number}"
    raise Failure("could not start Xvfb on a free display")


def start_window_manager(work):
    """Starts openbox; returns it once it manages the display."""
    started = os.path.join(work, "window-manager-started")
    manager = subprocess.Popen(["openbox", "--sm-disable", "--startup", f"touch {started}"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("the window manager", lambda: os.path.exists(started))
    return manager


def expect_clean_exit(process, key="Alt+X"):
    """Waits for process to end after key; fails unless it ends with status 0."""
    try:
        status = process.wait(timeout=STEP_LIMIT)
    except subprocess.TimeoutExpired:
        raise Failure(f"{key} did not end the program") from None
    if status != 0:
        raise Failure(f"the program ended with status {status} after {key}")


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


def xdotool(*args):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=STEP_LIMIT)
    if result.returncode != 0:
        raise Failure(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
    return result.stdout.strip()


# ---------------------------------------------------------------- accessibility

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


def start_accessibility_bus():
    """Starts the AT-SPI bus on the session bus; returns (launcher, pyatspi)."""
    import gi
    gi.require_version("Atspi", "2.0")

    launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"])
    log(f"AT-SPI bus at {wait_for_accessibility_bus(launcher)}")
    import pyatspi
    return launcher, pyatspi


def find_application(pyatspi, process, title):
    """The program's accessible application, once its frame named title shows."""
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
                    if frame.getRole() == pyatspi.ROLE_FRAME and frame.name == title:
                        return app
        return None

    return wait_for(f"the program (pid {pid}) with its window '{title}' in the accessibility tree", probe)


def collect_tree(acc, out):
    out.append(acc)
    for index in range(acc.childCount):
        child = acc.getChildAtIndex(index)
        if child is not None:
            collect_tree(child, out)
    return out


def read_problem(first, second):
    """The problem on show, once the operand labels, read by first() and second(), read as numbers."""
    def probe():
        try:
            return int(first()), int(second())
        except ValueError:
            return None

    return wait_for("two numbers in 'primo numero' and 'secondo numero'", probe)


def described(app, description):
    """The one object of app described as description, or so and then more ("risposta. ...")."""
    matches = [acc for acc in collect_tree(app, [])
               if acc.description == description or acc.description.startswith(description + ". ")]
    if len(matches) != 1:
        raise Failure(f"expected one object described '{description}', found {len(matches)}")
    return matches[0]
