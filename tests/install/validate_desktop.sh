#!/usr/bin/env bash
# desktop-file-validate exits 0 on hints (a main category missing, say);
# treat anything it prints as a failure.
# Usage: validate_desktop.sh DESKTOP_FILE
set -uo pipefail
command -v desktop-file-validate >/dev/null ||
  { echo "FAIL: desktop-file-validate is not installed (scripts/setup.sh test installs it)" >&2; exit 1; }
report=$(desktop-file-validate "$1" 2>&1)
status=$?
if [ $status -ne 0 ] || [ -n "$report" ]; then
  echo "$report" >&2
  echo "FAIL: desktop-file-validate rejects $1" >&2
  exit 1
fi
echo "$1 is valid"
