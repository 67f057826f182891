#!/usr/bin/env bash
# Measures Tavola against a bare Qt window of the same size, on a private X
# server, and the game logic's cost per key. Run by hand, not in CI:
#   bench/run.sh            (about ten minutes on two cores)
#   STARTUP_RUNS=10 bench/run.sh    fewer timed start-ups (40 by default)
# Prints one table at the end; the raw figures stay in build/bench/results.
set -euo pipefail
cd "$(dirname "$0")/.."

# --- tools -----------------------------------------------------------------
scripts/setup.sh play
wanted=(hyperfine time xvfb xauth xdotool valgrind libbenchmark-dev python3 openbox dbus-daemon x11-utils)
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
fi

# --- builds ----------------------------------------------------------------
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVOLA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j2
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTAVOLA_BUILD_TESTS=OFF -DTAVOLA_BUILD_BENCH=ON >/dev/null
cmake --build build/bench -j2 --target bare_window font_floor tavola_probe core_bench

program=$PWD/build/release/app/tavola
probe=$PWD/build/bench/bench/tavola_probe
bare=$PWD/build/bench/bench/bare_window
fonts=$PWD/build/bench/bench/font_floor
results=$PWD/build/bench/results
rm -rf "$results" && mkdir -p "$results"

# --- a private X server ------------------------------------------------------
display=
for n in $(seq 90 190); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR

# Starts a program in the background and records its pid in $pid.
start() {
  "$@" >/dev/null 2>&1 &
  pid=$!
  started+=("$pid")
}
# Waits until a window with exactly this title is visible.
waitForWindow() {
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "no window \"$1\" appeared" >&2
  return 1
}
# CPU time in ns of all threads of a process, from the scheduler's own account.
cpuTime() { cat /proc/"$1"/task/*/schedstat | awk '{sum += $1} END {print sum}'; }

# --- (a) exec to the first frame ----------------------------------------------
# Every program ends once its first frame with text is on the X server:
# Tavola when the first operand of the first problem is painted. The font
# floor is the bare window with Tavola's texts in Tavola's fonts.
# Timed twice: without a session bus, and under one as on every desktop (Qt's
# screen-reader bridge connects to it in both programs).
echo "== start-up: exec to first frame, without and with a session bus"
timeStartUp() {
  hyperfine -N --warmup 5 --runs "${STARTUP_RUNS:-40}" --export-json "$1" \
    -n tavola "$probe" -n bare "$bare --first-frame" -n fonts "$fonts --first-frame"
}
timeStartUp "$results/startup.json"
export -f timeStartUp
export probe bare fonts
dbus-run-session -- bash -c 'timeStartUp "$0"' "$results/startup_bus.json"

# The same start-ups counted in instructions, which unlike time do not depend
# on the machine's load.
echo "== start-up: instructions to first frame under callgrind"
for name in tavola bare fonts; do
  case $name in
    tavola) command=("$probe") ;;
    bare) command=("$bare" --first-frame) ;;
    fonts) command=("$fonts" --first-frame) ;;
  esac
  valgrind --tool=callgrind --callgrind-out-file="$results/first.$name.callgrind" "${command[@]}" >/dev/null 2>&1
done

# --- (b) peak resident memory after five seconds of running ----------------------
echo "== peak RSS"
for run in 1 2 3 4 5; do
  for name in tavola bare; do
    if [ "$name" = tavola ]; then command=("$program"); else command=("$bare"); fi
    /usr/bin/time -f '%M' -o "$results/rss.$name.$run" "${command[@]}" >/dev/null 2>&1 &
    timer=$!
    sleep 5
    child=$(ps -o pid= --ppid "$timer" | tr -d ' ')
    kill "$child"
    wait "$timer" || true
  done
done

# --- (c) idle: CPU time over 60 s, and instructions per second under callgrind ---
# The yardstick for idle is the bare window with a clock label set every
# 500 ms ("clock"): the least a window with a running clock can cost.
echo "== idle CPU over 60 s (all three at once)"
start "$program"; tavola_pid=$pid
start "$bare" --clock; clock_pid=$pid
start "$bare"; bare_pid=$pid
waitForWindow Vorlando
waitForWindow "Vorlando clock"
waitForWindow "Vorlando bare"
sleep 5
before=("$(cpuTime "$tavola_pid")" "$(cpuTime "$clock_pid")" "$(cpuTime "$bare_pid")")
sleep 60
after=("$(cpuTime "$tavola_pid")" "$(cpuTime "$clock_pid")" "$(cpuTime "$bare_pid")")
kill "$tavola_pid" "$clock_pid" "$bare_pid"
echo "$((after[0] - before[0])) $((after[1] - before[1])) $((after[2] - before[2]))" >"$results/idle_cpu_ns"

echo "== idle instructions under callgrind (30 s, both at once)"
start valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$results/idle.tavola.callgrind" "$program"
tavola_pid=$pid
start valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$results/idle.clock.callgrind" "$bare" --clock
clock_pid=$pid
waitForWindow Vorlando
waitForWindow "Vorlando clock"
sleep 5
callgrind_control -i on "$tavola_pid" >/dev/null
callgrind_control -i on "$clock_pid" >/dev/null
sleep 30
callgrind_control -i off "$tavola_pid" >/dev/null
callgrind_control -i off "$clock_pid" >/dev/null
callgrind_control -d "$tavola_pid" >/dev/null
callgrind_control -d "$clock_pid" >/dev/null
kill "$tavola_pid" "$clock_pid"
wait "$tavola_pid" "$clock_pid" 2>/dev/null || true
callgrind_annotate --inclusive=yes "$(ls "$results"/idle.tavola.callgrind.* | tail -n 1)" >"$results/idle.tavola.annotate" 2>/dev/null

# --- (d) memory through a day of play -------------------------------------------
# The program as shipped, framed by openbox, under a session bus, played with
# real keys: a wrong answer typed, Enter, and Enter for the next problem. The
# keys go at a pupil's pace (5 ms apart) or faster, never so fast that problems
# go unpainted. RSS is read once the program has gone quiet, after 100, 1,000
# and 5,000 problems; the bare window gets the same keys.
echo "== memory after 100, 1000 and 5000 problems (a few minutes)"
cat >"$results/play.sh" <<'PLAY'
#!/usr/bin/env bash
# play.sh RESULTS NAME TITLE COMMAND...
set -euo pipefail
results=$1 name=$2 title=$3
shift 3
# A window mapped while openbox is still starting may never be shown: wait
# for openbox to announce itself (a property an earlier one may have left).
xprop -root -remove _NET_SUPPORTING_WM_CHECK
openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
"$@" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 600); do xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 && break; sleep 0.1; done
sleep 5
cpu() { awk '{print $14 + $15}' /proc/"$pid"/stat; }
quiet() { local a b; a=$(cpu); while sleep 0.5; b=$(cpu); [ "$a" != "$b" ]; do a=$b; done; }
rss() { awk '/^VmRSS/ {print $2}' /proc/"$pid"/status; }
quiet
echo "0 $(rss)" >"$results/play.$name"
played=0
for goal in 100 1000 5000; do
  while [ "$played" -lt "$goal" ]; do
    batch=$((goal - played < 100 ? goal - played : 100))
    keys=()
    for _ in $(seq "$batch"); do keys+=(0 Return Return); done
    xdotool key --delay 5 "${keys[@]}"
    played=$((played + batch))
  done
  quiet
  echo "$goal $(rss)" >>"$results/play.$name"
done
kill "$pid" "$wm"
wait 2>/dev/null || true
PLAY
chmod +x "$results/play.sh"
dbus-run-session -- "$results/play.sh" "$results" tavola Vorlando "$program"
dbus-run-session -- "$results/play.sh" "$results" bare "Vorlando bare" "$bare"

# --- (e) the game logic per key ------------------------------------------------
echo "== game logic per keystroke, Enter and tick"
build/bench/bench/core_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/core.json" --benchmark_out_format=json

# --- the table -------------------------------------------------------------------
python3 - "$results" <<'PY'
import glob, json, os, re, statistics, sys

results = sys.argv[1]

def read(path):
    with open(path) as f:
        return f.read()

startup = {r["command"]: r for r in json.loads(read(f"{results}/startup.json"))["results"]}
start_t, start_b, start_f = (statistics.median(startup[n]["times"]) * 1000 for n in ("tavola", "bare", "fonts"))
on_bus = {r["command"]: r for r in json.loads(read(f"{results}/startup_bus.json"))["results"]}
bus_t, bus_b, bus_f = (statistics.median(on_bus[n]["times"]) * 1000 for n in ("tavola", "bare", "fonts"))
# CPU of the whole process (all threads, user and system), mean over the runs.
cpu_start_t, cpu_start_b, cpu_start_f = ((startup[n]["user"] + startup[n]["system"]) * 1000
                                         for n in ("tavola", "bare", "fonts"))

def totals(path):
    return max((int(line.split()[1]) for line in read(path).splitlines() if line.startswith("totals:")), default=0)

ir_first_t, ir_first_b, ir_first_f = (totals(f"{results}/first.{n}.callgrind") for n in ("tavola", "bare", "fonts"))

def share(fonts, bare, tavola):
    return f"{100 * (fonts - bare) / (tavola - bare):.0f} %" if tavola > bare else ""

def rss(name):
    return statistics.median(int(read(p).split()[-1]) for p in glob.glob(f"{results}/rss.{name}.*")) / 1024

rss_t, rss_b = rss("tavola"), rss("bare")

def played(name):
    return {int(n): int(kib) / 1024 for n, kib in (line.split() for line in read(f"{results}/play.{name}").splitlines())}

play_t, play_b = played("tavola"), played("bare")

cpu_t, cpu_c, cpu_b = (100.0 * int(x) / 1e9 / 60 for x in read(f"{results}/idle_cpu_ns").split())

def instructions(name):
    # Only the dump taken while instrumentation was on counts (file name ends in .1).
    return sum(totals(path) for path in glob.glob(f"{results}/idle.{name}.callgrind.*")) / 30.0

ir_t, ir_c = instructions("tavola"), instructions("clock")
timer_share = None
annotate = read(f"{results}/idle.tavola.annotate")
for line in annotate.splitlines():
    if "Tavola::Timer1_Timer" in line:
        timer_share = int(line.split()[0].replace(",", "")) / 30.0
        break

core = {}
for b in json.loads(read(f"{results}/core.json"))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        core[b["run_name"]] = b["real_time"]

rows = [
    ("exec to first frame, median", f"{start_t:.1f} ms", f"{start_b:.1f} ms", start_t / start_b, "<= 1.15"),
    ("  font floor", f"{start_f:.1f} ms", f"{start_b:.1f} ms", start_f / start_b, ""),
    ("  share of the gap in fonts", share(start_f, start_b, start_t), "", None, ""),
    ("same, under a session bus", f"{bus_t:.1f} ms", f"{bus_b:.1f} ms", bus_t / bus_b, "<= 1.15"),
    ("  font floor", f"{bus_f:.1f} ms", f"{bus_b:.1f} ms", bus_f / bus_b, ""),
    ("  CPU to first frame, mean", f"{cpu_start_t:.1f} ms", f"{cpu_start_b:.1f} ms", cpu_start_t / cpu_start_b, ""),
    ("  same, font floor", f"{cpu_start_f:.1f} ms", f"{cpu_start_b:.1f} ms", cpu_start_f / cpu_start_b, ""),
    ("instructions to first frame", f"{ir_first_t / 1e6:.0f} M", f"{ir_first_b / 1e6:.0f} M",
     ir_first_t / ir_first_b if ir_first_b else None, ""),
    ("  font floor", f"{ir_first_f / 1e6:.0f} M", f"{ir_first_b / 1e6:.0f} M",
     ir_first_f / ir_first_b if ir_first_b else None, ""),
    ("  share of the gap in fonts", share(ir_first_f, ir_first_b, ir_first_t), "", None, ""),
    ("peak RSS after 5 s, median", f"{rss_t:.1f} MiB", f"{rss_b:.1f} MiB", rss_t / rss_b, "<= 1.15"),
    *((f"RSS after {n} problems" if n else "RSS before the first key", f"{play_t[n]:.1f} MiB",
       f"{play_b[n]:.1f} MiB", play_t[n] / play_b[n], "<= 1.15") for n in sorted(play_t)),
    ("  growth from 100 to 5000 problems", f"{(play_t[5000] - play_t[100]) * 1024:.0f} KiB", "", None, "<= 1 MiB"),
    ("idle CPU over 60 s, of one core", f"{cpu_t:.3f} %", f"{cpu_c:.3f} %", cpu_t / cpu_c if cpu_c else None,
     "well under 1 %"),
    ("  same, bare window without clock", "", f"{cpu_b:.3f} %", None, ""),
    ("idle instructions per second", f"{ir_t / 1e6:.3f} M", f"{ir_c / 1e6:.3f} M", ir_t / ir_c if ir_c else None, ""),
]
if timer_share is not None:
    rows.append(("  of which in Timer1_Timer", f"{timer_share / 1e6:.3f} M", "", None, ""))
for name, label in (("keystroke/lean_form", "keystroke, game logic"), ("enter/lean_form", "Enter, game logic"),
                    ("keystroke/fake_form", "keystroke, on the test fake"), ("enter/fake_form", "Enter, on the test fake"),
                    ("tick_same_second/lean_form", "tick, same second"), ("tick_new_second/lean_form", "tick, new second")):
    if name in core:
        rows.append((label, f"{core[name]:.1f} ns", "", None, ""))

print()
print("bare Qt: the bare window; for idle, the bare window with a clock label")
print("font floor: the bare window with Tavola's first texts in Tavola's fonts")
print(f"{'measure':34} {'tavola':>12} {'bare Qt':>12} {'ratio':>7}  target")
for name, t, b, ratio, target in rows:
    print(f"{name:34} {t:>12} {b:>12} {'' if ratio is None else f'{ratio:.2f}':>7}  {target}")
with open(f"{results}/summary.txt", "w") as out:
    for row in rows:
        out.write("\t".join("" if x is None else (f"{x:.3f}" if isinstance(x, float) else str(x)) for x in row) + "\n")
PY
