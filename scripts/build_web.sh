#!/usr/bin/env bash
# Builds the browser edition with Debian's emscripten into build/web: the
# site in build/web/site, and the core's tests compiled to WebAssembly.
set -euo pipefail
cd "$(dirname "$0")/.."
# emscripten's tools look for their node modules (acorn) here, whichever node runs them.
export NODE_PATH=/usr/share/nodejs
# emcmake's own emulator passes node a flag that node 20 refuses.
emcmake cmake -S . -B build/web -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" >/dev/null
cmake --build build/web -j2
