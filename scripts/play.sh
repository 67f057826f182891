#!/usr/bin/env bash
# Installs what is missing, builds Tavola and starts it.
#   scripts/play.sh                  the desktop game
#   scripts/play.sh web [--port N]   the browser edition, built into
#                                    build/web/site and served on
#                                    http://127.0.0.1:N/ (8080) until stopped
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = web ]; then
  port=8080
  if [ $# -gt 1 ]; then
    [[ ${2:-} == --port && ${3:-} =~ ^[0-9]+$ && $# -eq 3 ]] || { echo "usage: $0 web [--port N]" >&2; exit 2; }
    port=$3
  fi
  scripts/setup.sh web
  scripts/build_web.sh
  exec node web/serve.mjs build/web/site --port "$port"
fi
scripts/setup.sh play
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVOLA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j2
exec build/release/app/tavola
