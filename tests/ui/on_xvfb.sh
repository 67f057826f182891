#!/usr/bin/env bash
# Runs a command on a private Xvfb screen of 2600x2000 pixels, on a display
# number the server picks itself, so that parallel runs never meet.
#   on_xvfb.sh COMMAND...
set -euo pipefail
ready=$(mktemp)
trap 'kill "$server" 2>/dev/null || true; rm -f "$ready"' EXIT
Xvfb -displayfd 3 -screen 0 2600x2000x24 -nolisten tcp 3>"$ready" 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -s "$ready" ] && break; sleep 0.05; done
[ -s "$ready" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(head -n1 "$ready") QT_QPA_PLATFORM=xcb "$@"
