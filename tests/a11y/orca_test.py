#!/usr/bin/python3
"""Plays the real program with the real screen reader and checks what it says.

Usage: orca_test.py PROGRAM, or orca_test.py CHROMIUM SITE_DIR for the browser
edition: Chromium shows the site, served from SITE_DIR, as an app window.

The outer run makes a private home (sound goes nowhere, speech-dispatcher
speaks through espeak-ng), starts Xvfb and runs itself again ("--inner")
under dbus-run-session. The inner run starts the AT-SPI bus, a window manager
and Orca, then PROGRAM, and plays a scripted game with real key events
(XTEST through xdotool). After each step it collects what Orca said (its
"SPEECH OUTPUT" lines, as its debug log has them) and checks that the pupil
heard what the step must tell. The problem on show is read from the
accessibility tree. Every process started on the way is ended before exit.
At the end it prints what was heard, step by step.

TAVOLA_ORCA_DEBUG=1 makes Orca write its whole debug log (slower: keys it
should eat may then reach the program too); TAVOLA_ORCA_LOG=FILE keeps the
log after the run.
"""

import datetime
import functools
import http.server
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402
from desktop import Failure, log, wait_for, xdotool  # noqa: E402

LIMIT = 58  # seconds for everything, including start and cleanup
PAGE_LIMIT = 100  # the same in a browser, which starts slower and says more
CLEANUP = 5  # seconds kept for ending every process
ORCA_START_LIMIT = 15

QUIET = 0.5  # speech has ended when the log gained nothing for this long...
PATIENCE = 2.0  # ...or, while an expected text is missing, for this long
STEP_LIMIT = 8  # and a step never listens longer than this

# Starts Orca with its speech written to a file, line by line, as its debug
# log writes it ("HH:MM:SS.ffffff - SPEECH OUTPUT: '...'"). Full debug output
# slows Orca down so much that Qt stops waiting for its answer on a key (Qt
# gives it 100 ms) and hands keys Orca should eat, such as keypad Enter, to
# the program as well; so only the speech and one start-up line are written,
# from Orca's own speech log, unless TAVOLA_ORCA_DEBUG asks for everything.
# It also lets the run coexist with an Orca of the user's own desktop, which
# the launcher would otherwise refuse to start beside.
ORCA_LAUNCHER = r'''
import datetime, logging, os, runpy, sys
from orca import debug
out = open(sys.argv[1], "w", buffering=1)
def stamp():
    return datetime.datetime.now().strftime("%H:%M:%S.%f")
if os.environ.get("TAVOLA_ORCA_DEBUG"):
    debug.debugLevel = debug.LEVEL_INFO
    debug.eventDebugLevel = debug.LEVEL_OFF
    debug.debugFile = out
else:
    class SpeechToFile(logging.Handler):
        def emit(self, record):
            out.write(stamp() + " - " + record.getMessage().replace("\n", " ") + "\n")
    logging.getLogger("speech").addHandler(SpeechToFile())
    println = debug.println
    def println_and_mark(level, text="", timestamp=False):
        if text == "ORCA: Starting registry":
            out.write(stamp() + " - " + text + "\n")
        println(level, text, timestamp)
    debug.println = println_and_mark
launcher = runpy.run_path("/usr/bin/orca", run_name="orca_launcher")
launcher["main"].__globals__["otherOrcas"] = lambda: []
launcher["main"].__globals__["setProcessName"] = lambda name: None
sys.argv = ["orca", *sys.argv[2:]]
sys.exit(launcher["main"]())
'''

# Written after Orca's listeners are registered, as it enters its event loop.
ORCA_READY = " - ORCA: Starting registry"

SPEECH_LINE = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - SPEECH OUTPUT: '(.*)'(?: voice=\w+)? ?(?:\{.*\})?$")


# ---------------------------------------------------------------- what is said

def say(number):
    return f"meno {-number}" if number < 0 else str(number)


def question(first, second):
    return f"{say(first)} meno, tra parentesi, {say(second)}?"


def normalise(text):
    """Lower case, single blanks, no blank before punctuation (Orca's spacing varies)."""
    text = re.sub(r"\s+", " ", text.lower()).strip()
    return re.sub(r" (?=[,.;:!?])", "", text)


def pattern(text, not_after=None):
    """A regular expression finding text in normalised speech.

    A number in it never matches the start of a longer one ("fa 1" is not in
    "fa 17"), and blanks after punctuation are optional.
    """
    wanted = normalise(text)
    parts = []
    for char in wanted:
        if char == " ":
            parts.append(" ?")
        elif char in ",;!?":
            parts.append(re.escape(char) + " ?")
        else:
            parts.append(re.escape(char))
    body = "".join(parts)
    if wanted[:1].isalnum():
        body = r"(?<![\w])" + body
    if wanted[-1:].isalnum():
        body += r"(?![\w])"
    if not_after:
        body = f"(?<!{re.escape(normalise(not_after))} )" + body
    return re.compile(body)


class Heard:
    """Something the pupil must hear (or must not) in one step."""

    def __init__(self, text, absent=False, not_after=None):
        self.text = text
        self.absent = absent
        self.regex = pattern(text, not_after)
        self.not_after = not_after

    def found_in(self, speech):
        return self.regex.search(normalise(speech)) is not None

    def met_by(self, speech):
        return self.found_in(speech) != self.absent

    def failure(self):
        if self.absent:
            return f"heard {self.text!r}, which must not be said"
        if self.not_after:
            return f"did not hear {self.text!r} (other than in {self.not_after!r}...)"
        return f"did not hear {self.text!r}"


class Speech:
    """What Orca said, read from its debug log as it grows."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = ""
        self.utterances = []

    def _read(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as log_file:
                log_file.seek(self.offset)
                data = log_file.read()
                self.offset = log_file.tell()
        except FileNotFoundError:
            return False
        if not data:
            return False
        lines = (self.partial + data).split("\n")
        self.partial = lines.pop()
        grew = False
        for line in lines:
            match = SPEECH_LINE.match(line)
            if match:
                self.utterances.append(match.group(1))
                grew = True
        return grew

    def log_has(self, text):
        self._read()
        with open(self.path, encoding="utf-8", errors="replace") as log_file:
            return text in log_file.read()

    def mark(self):
        self._read()
        return len(self.utterances)

    def wait_quiet(self, seconds, limit=3):
        """Waits until nothing new was said for seconds (at most limit)."""
        start = last = time.monotonic()
        while time.monotonic() - last < seconds and time.monotonic() - start < limit:
            if self._read():
                last = time.monotonic()
            time.sleep(0.05)

    def listen(self, since, expect=lambda: [], patience=PATIENCE, limit=STEP_LIMIT):
        """Utterances since the mark, once speech has stopped coming.

        expect() says what must be heard; it is asked once speech has paused,
        when the window has settled. Listening stops after QUIET seconds
        without new speech once all of it is heard, after patience seconds
        without new speech while some is missing, and after limit seconds.
        """
        start = last = time.monotonic()
        expected = None
        while True:
            if self._read():
                last = time.monotonic()
            now = time.monotonic()
            spoken = self.utterances[since:]
            quiet = now - last
            if now - start >= limit:
                return spoken
            if quiet >= QUIET and (spoken or now - start >= patience):
                if expected is None:
                    expected = expect()
                if quiet >= patience or all(item.met_by(" ".join(spoken)) for item in expected):
                    return spoken
            time.sleep(0.05)


# ---------------------------------------------------------------- the window

class Game:
    """The running program, seen through the accessibility tree and the keyboard."""

    def __init__(self, pyatspi, process):
        self.pyatspi = pyatspi
        self.process = process
        self.app = desktop.find_application(pyatspi, process, "Vorlando")
        self.controls = {}

    def control(self, description):
        # A new game builds new controls: a cached one that no longer answers,
        # or answers to another description, is looked up afresh. Few walks
        # over the tree, as each keeps the program's event loop busy.
        acc = self.controls.get(description)
        if acc is not None:
            try:
                acc.clear_cache()
                current = acc.description
                if (current == description or current.startswith(description + ". ")) \
                        and not acc.getState().contains(self.pyatspi.STATE_DEFUNCT):
                    return acc
            except Exception:
                pass
        acc = desktop.described(self.app, description)
        self.controls[description] = acc
        return acc

    def problem(self):
        # A label's text is its name on the desktop, its text in a browser.
        def text(description):
            acc = self.control(description)
            return acc.name or acc.queryText().getText(0, -1)
        return desktop.read_problem(lambda: text("primo numero"), lambda: text("secondo numero"))

    def answer_focused(self):
        try:
            return self.control("risposta").getState().contains(self.pyatspi.STATE_FOCUSED)
        except Exception:  # the controls may be between two games
            return False

    def alive(self):
        if self.process.poll() is not None:
            raise Failure(f"the program exited with status {self.process.returncode}")


# ---------------------------------------------------------------- the script

class Script:
    """Runs the steps, keeps what each one heard and what it missed."""

    def __init__(self, speech, game):
        self.speech = speech
        self.game = game
        self.transcript = []  # (step, utterances, failures)

    def step(self, title, act, expect=lambda: [], patience=PATIENCE, limit=STEP_LIMIT, since=None, settle=0):
        """Acts, listens, and checks what was heard; returns the text heard."""
        if settle:
            self.speech.wait_quiet(settle)
        if since is None:
            since = self.speech.mark()
        act()
        spoken = self.speech.listen(since, expect, patience, limit)
        heard = " ".join(spoken)
        # Asked again: the window has certainly settled by now.
        failures = [item.failure() for item in expect() if not item.met_by(heard)]
        self.transcript.append((title, spoken, failures))
        status = "ok" if not failures else "FAILED: " + "; ".join(failures)
        log(f"[{title}] {status}")
        return heard

    def failed(self):
        return [(title, failures) for title, _, failures in self.transcript if failures]

    def report(self):
        log("---- what Orca said, step by step")
        for title, spoken, failures in self.transcript:
            log(f"{title}:")
            for utterance in spoken:
                log(f"    {utterance}")
            if not spoken:
                log("    (nothing)")
            for failure in failures:
                log(f"  !! {failure}")
        log("----")


def key(*names):
    return lambda: xdotool("key", "--delay", "80", *names)


def hold(name, seconds=0.3):
    """Presses and releases one key as a hand does, not as fast as XTEST can.

    Qt holds each key event back until the screen reader has seen it; an Alt
    released before Orca answered for its press does not open the menu bar.
    """
    def run():
        xdotool("keydown", name)
        time.sleep(seconds)
        xdotool("keyup", name)
    return run


def typed(text):
    return lambda: xdotool("type", "--delay", "80", "--", text)


def then(*actions):
    def run():
        for action in actions:
            action()
            time.sleep(0.1)
    return run


def end_time_entry(moment, now, seconds=False):
    """What the pupil types for moment: a time today, or a date and time."""
    clock = moment.strftime("%H:%M:%S" if seconds else "%H.%M")
    if moment.date() == now.date():
        return clock
    return moment.strftime("%d/%m/%Y ") + clock


class Keys:
    """Key sequences that wait for Orca's answer to each key before the next."""

    def __init__(self, speech, game):
        self.speech = speech
        self.game = game

    def hear(self, action, expected=()):
        since = self.speech.mark()
        action()
        return self.speech.listen(since, lambda: expected, patience=1.0, limit=3)

    def open_new_game_menu(self):
        # Alt alone puts the menu bar in keyboard mode, Down opens its menu;
        # Down again until "nuovo" is read, then Right opens its submenu.
        self.hear(hold("alt"))
        self.hear(key("Down"))
        for _ in range(4):
            spoken = self.hear(key("Down"))
            if any(re.match(r"nuovo\b(?! calcolo)", normalise(utterance)) for utterance in spoken):
                break
        key("Right")()

    def escape_to_answer(self):
        for _ in range(5):
            self.hear(key("Escape"))
            if self.game.answer_focused():
                return


def play(script, game, since_start, page):
    keys = Keys(script.speech, game)

    def asked(title):
        # Of a page, Orca 43 hears no start (it starts after the page) and no
        # where am I in a text field: its web script then takes the field as
        # its own prior caret context and leaves out the field's name.
        if page:
            log(f"[{title}] not asked of a page")
        return not page

    Q = lambda: question(*game.problem())  # noqa: E731
    counters = lambda right, wrong: f"esatte {right}, errate {wrong}, totali {right + wrong}"  # noqa: E731

    first, second = game.problem()
    if asked("1 start"):
        script.step("1 start", lambda: None, lambda: [Heard(question(first, second))], since=since_start)

    first, second = game.problem()
    right = first - second
    wrong = right + 1
    log(f"problem {first} - ({second}); typing the wrong {wrong}")
    script.step(f"2 type {wrong} (wrong), Enter", then(typed(str(wrong)), key("Return")),
                lambda: [Heard("Sbagliato"), Heard(f"fa {say(right)}", not_after="quanto"),
                         Heard(counters(0, 1))])

    # Orca eats keypad Enter only if it answers Qt within 100 ms: let it be idle.
    script.step("3 where am I on the button", key("KP_Enter"),
                lambda: [Heard("Sbagliato"), Heard(counters(0, 1))], settle=1)

    script.step("4 Enter: next problem", key("Return"), lambda: [Heard(Q())])

    if asked("5 where am I in the answer box"):
        script.step("5 where am I in the answer box", key("KP_Enter"),
                    lambda: [Heard(Q()), Heard(counters(0, 1))], settle=1)

    first, second = game.problem()
    log(f"problem {first} - ({second}); typing the right {first - second}")
    script.step(f"6 type {first - second} (right), Enter", then(typed(str(first - second)), key("Return")),
                lambda: [Heard("Esatto"), Heard(counters(1, 1))])

    script.step("7 Alt+N: next problem", key("alt+n"), lambda: [Heard(Q())])

    script.step("8a Tab to the hidden button", key("Tab"),
                lambda: [Heard("non fa nulla"), Heard("Command1", absent=True)])
    script.step("8b Shift+Tab back", key("shift+Tab"), lambda: [Heard(Q())])
    # Into the menu bar and out again from the keyboard: by Esc, by Alt, and
    # by Esc twice from its open menu.
    for leave in (["Escape"], ["alt"], ["Down", "Escape", "Escape"]):
        script.step("8c Alt: the menu bar", hold("alt"), lambda: [Heard("Tavola, il gioco delle sottrazioni")])
        script.step(f"8d {', '.join(leave)}: back in the answer box", then(*map(hold, leave)), lambda: [Heard(Q())])

    before = game.problem()
    script.step("9a menu, nuovo", keys.open_new_game_menu, lambda: [Heard("INIZIAMO UNA NUOVA GARA")])
    since_no = script.speech.mark()
    script.step("9b Enter (No)", key("Return"))
    # The window's menu keeps the focus after No; a page's gives it back at once.
    script.step("9c Escape back to the answer box", keys.escape_to_answer, lambda: [Heard(question(*before))],
                since=since_no)
    after = game.problem()
    if after != before:
        script.transcript[-1][2].append(f"the problem changed from {before} to {after} after No")
        log(f"[9c] FAILED: the problem changed from {before} to {after} after No")

    script.step("10a menu, nuovo", keys.open_new_game_menu, lambda: [Heard("INIZIAMO UNA NUOVA GARA")])
    # No is the default button: Shift+Tab goes back to Sì, Space presses it.
    script.step("10b Shift+Tab to Sì", key("shift+Tab"), lambda: [Heard("Sì")])
    script.step("10c Space (Sì)", key("space"), lambda: [Heard(Q())])
    if asked("10d where am I in the answer box"):
        script.step("10d where am I in the answer box", key("KP_Enter"),
                    lambda: [Heard(Q()), Heard("esatte 1", absent=True)], settle=1)

    now = datetime.datetime.now()
    later = now + datetime.timedelta(hours=3)
    if (later.hour, later.minute) == (0, 0):  # a date at midnight is confirmed without its time
        later += datetime.timedelta(minutes=1)
    script.step("11a F2", key("F2"), lambda: [Heard("orario di fine")])
    script.step(f"11b type {end_time_entry(later, now)}, Enter",
                then(typed(end_time_entry(later, now)), key("Return")),
                lambda: [Heard("Il gioco termina alle ore"), Heard(later.strftime("%H:%M"))])

    script.step("12a F2", key("F2"), lambda: [Heard("orario di fine")])
    now = datetime.datetime.now()
    soon = (now + datetime.timedelta(seconds=4)).replace(microsecond=0)
    script.step(f"12b Ctrl+A, type {end_time_entry(soon, now, seconds=True)}, Enter, wait",
                then(key("ctrl+a"), typed(end_time_entry(soon, now, seconds=True)), key("Return")),
                lambda: [Heard("Gioco fino alle")], patience=7, limit=12)
    script.step("12c Enter (OK)", key("Return"), lambda: [Heard("INIZIAMO UNA NUOVA GARA")])
    script.step("12d Enter (No)", key("Return"), lambda: [Heard(Q())])

    game.alive()
    xdotool("key", "alt+x")
    try:
        status = game.process.wait(timeout=5)
        failures = [] if status == 0 else [f"the program ended with status {status}"]
    except subprocess.TimeoutExpired:
        failures = ["the program still runs 5 s after Alt+X"]
    script.transcript.append(("13 Alt+X: the program ends", [], failures))
    log(f"[13 Alt+X: the program ends] {'ok' if not failures else 'FAILED: ' + failures[0]}")


# ---------------------------------------------------------------- processes

def start_orca(work):
    debug_file = os.path.join(work, "orca-debug.log")
    orca = subprocess.Popen(
        [sys.executable, "-c", ORCA_LAUNCHER, debug_file, "-u", os.path.join(work, "orca-settings")],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    speech = Speech(debug_file)

    def ready():
        if orca.poll() is not None:
            raise Failure(f"Orca exited with status {orca.returncode} while starting")
        return os.path.exists(debug_file) and speech.log_has(ORCA_READY)

    wait_for("Orca to start listening", ready, limit=ORCA_START_LIMIT)
    return orca, speech


def serve(site):
    """Serves site on 127.0.0.1 from a thread; returns the server and its address."""
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}/"


def inner(program, work, deadline, site=""):
    deadline, began_at = float(deadline), time.time()

    def too_slow(signum, frame):
        raise Failure(f"no result within {deadline - began_at:.0f} s")

    signal.signal(signal.SIGALRM, too_slow)
    # Leaves a second for the report before the outer run gives up.
    signal.setitimer(signal.ITIMER_REAL, max(1.0, deadline - 1 - time.time()))
    launcher = manager = orca = tavola = server = None
    script = None
    began = time.monotonic()
    try:
        launcher, pyatspi = desktop.start_accessibility_bus()
        manager = desktop.start_window_manager(work)
        if site:
            # The page is open before Orca starts. Orca 43 may take a page's
            # busy and load events out of order, and then believes the page
            # still loads and passes over every box (1 run in 4 here).
            server, address = serve(site)
            from gi.repository import Gio, GLib  # the screen reader's flag, which Chromium waits for
            Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
                "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
                None, Gio.DBusCallFlags.NONE, -1, None)
            tavola = subprocess.Popen([program, "--no-sandbox", "--force-renderer-accessibility", "--no-first-run",
                                       "--test-type", "--disable-gpu", "--password-store=basic", f"--user-data-dir={work}/chromium",
                                       f"--app={address}"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            game = Game(pyatspi, tavola)
            wait_for("the page's answer box", game.answer_focused)
        orca, speech = start_orca(work)
        log(f"Orca listens ({time.monotonic() - began:.1f} s)")
        since_start = speech.mark()
        if not site:
            tavola = subprocess.Popen([program])
            game = Game(pyatspi, tavola)
        script = Script(speech, game)
        play(script, game, since_start, bool(site))
        log(f"played in {time.monotonic() - began:.1f} s")
        missed = script.failed()
        if missed:
            log("FAIL: the pupil did not hear what these steps must tell:")
            for title, failures in missed:
                log(f"  {title}: {'; '.join(failures)}")
            return 1
        return 0
    except Failure as failure:
        log(f"FAIL: {failure}")
        return 1
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        if script is not None:
            script.report()
        desktop.stop(tavola, orca, manager, launcher)
        if server:
            server.shutdown()


# ---------------------------------------------------------------- the outer run

def italian_locale(work):
    """Environment for an Italian desktop; compiles the locale when the machine lacks it."""
    env = {"LANG": "it_IT.UTF-8", "LANGUAGE": "it"}
    installed = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    if any(name.lower() in ("it_it.utf8", "it_it.utf-8") for name in installed):
        return env
    locales = os.path.join(work, "locale")
    os.makedirs(locales)
    made = subprocess.run(["localedef", "-i", "it_IT", "-f", "UTF-8", os.path.join(locales, "it_IT.UTF-8")],
                          capture_output=True, timeout=20)
    if made.returncode in (0, 1):  # 1: written, with warnings
        env["LOCPATH"] = locales
        return env
    # Orca's messages still come out in Italian: Python's gettext reads LANGUAGE.
    log("it_IT.UTF-8 is not available; running in C.UTF-8 with Italian messages")
    return {"LANG": "C.UTF-8", "LANGUAGE": "it"}


def private_home(work):
    """A home where sound goes nowhere and speech-dispatcher uses espeak-ng."""
    dirs = {name: os.path.join(work, name) for name in ("home", "config", "data", "cache", "runtime")}
    for path in dirs.values():
        os.makedirs(path, mode=0o700)
    with open(os.path.join(dirs["home"], ".asoundrc"), "w") as asoundrc:
        asoundrc.write("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")
    speechd = os.path.join(dirs["config"], "speech-dispatcher")
    os.makedirs(speechd)
    with open(os.path.join(speechd, "speechd.conf"), "w") as conf:
        conf.write('AudioOutputMethod "alsa"\nDefaultModule espeak-ng\n')
    return {"HOME": dirs["home"], "XDG_CONFIG_HOME": dirs["config"], "XDG_DATA_HOME": dirs["data"],
            "XDG_CACHE_HOME": dirs["cache"], "XDG_RUNTIME_DIR": dirs["runtime"]}


def outer(program, site=""):
    if not desktop.prepare(program, ("orca", "openbox", "xdotool", "Xvfb", "dbus-run-session", "speech-dispatcher")):
        return 1
    status = 1
    began = time.monotonic()
    deadline = time.time() + (PAGE_LIMIT if site else LIMIT) - CLEANUP
    work = tempfile.mkdtemp(prefix="tavola-orca-")
    try:
        env = dict(os.environ, **private_home(work), **italian_locale(work))
        _, display = desktop.start_xvfb()
        log(f"Xvfb on display {display}")
        env["DISPLAY"] = display
        # Neither our bus nor our display may leak in from the caller, and the
        # program must find accessibility on by itself, as Orca turns it on.
        status = desktop.run_inner(__file__, [program, work, str(deadline), site], env,
                                   ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY",
                                    "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON",
                                    "QT_ACCESSIBILITY"),
                                   max(1.0, deadline - time.time()))
    except Failure as failure:
        log(f"FAIL: {failure}")
        status = 1
    finally:
        clean = desktop.end_all_descendants()
        keep = os.environ.get("TAVOLA_ORCA_LOG")
        if keep and os.path.exists(os.path.join(work, "orca-debug.log")):
            shutil.copy(os.path.join(work, "orca-debug.log"), keep)
            log(f"Orca's debug log kept as {keep}")
        shutil.rmtree(work, ignore_errors=True)
    if status == 0 and not clean:
        status = 1
    log(f"{'PASS' if status == 0 else 'FAILED'} in {time.monotonic() - began:.1f} s")
    return status


if __name__ == "__main__":
    sys.exit(desktop.main(sys.argv, outer, inner, __doc__))
