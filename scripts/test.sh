#!/usr/bin/env bash
# Installs what is missing, builds Tavola with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j2
ctest --test-dir build/test --output-on-failure -j2
