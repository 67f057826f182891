#!/usr/bin/env bash
# Installs what is missing, builds Tavola and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh play
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVOLA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j2
exec build/release/app/tavola
