#!/usr/bin/env bash
# Installs the build tree into a throwaway root and checks what lands there.
# Usage: check_install.sh CMAKE BUILD_DIR SOURCE_DIR WORK_DIR APP_ID
set -euo pipefail
cmake=$1 build=$2 source=$3 work=$4 app_id=$5
. "$source/tests/install/tree_checks.sh"

rm -rf "$work"
mkdir -p "$work"
"$cmake" --install "$build" --prefix "$work/root/usr" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }
check_tree "$work/root" "$source" "$app_id"
validate_tree "$work/root" "$source"
echo "install tree OK"
