# shellcheck shell=bash
# Checks shared by the install and package tests; sourced, not run.
# check_tree ROOT SOURCE_DIR APP_ID: ROOT holds usr/ as installed.

fail() { echo "FAIL: $*" >&2; exit 1; }

need_tool() {
  command -v "$1" >/dev/null || fail "$1 is not installed (scripts/setup.sh test installs it)"
}

check_tree() {
  local root=$1 source=$2 app_id=$3
  local usr=$root/usr
  local desktop=$usr/share/applications/tavola.desktop
  local metainfo=$usr/share/metainfo/$app_id.metainfo.xml
  local icon=$usr/share/icons/hicolor/scalable/apps/tavola.svg

  # Exactly these files, so that nothing from the tests or the libraries leaks in.
  local expected actual
  expected=$(printf '%s\n' usr/bin/tavola usr/share/applications/tavola.desktop \
    "usr/share/metainfo/$app_id.metainfo.xml" usr/share/icons/hicolor/scalable/apps/tavola.svg \
    usr/share/doc/tavola/copyright usr/share/doc/tavola/changelog.gz usr/share/man/man6/tavola.6.gz | sort)
  actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
  [ "$expected" = "$actual" ] || fail "installed files differ from the expected set:
$(diff <(echo "$expected") <(echo "$actual") || true)"

  [ -x "$usr/bin/tavola" ] || fail "usr/bin/tavola is not executable"
  head -c 4 "$usr/bin/tavola" | grep -q 'ELF' || fail "usr/bin/tavola is not an ELF program"

  cmp -s "$desktop" "$source/packaging/tavola.desktop" || fail "installed desktop entry differs from packaging/tavola.desktop"
  cmp -s "$metainfo" "$source/packaging/tavola.metainfo.xml" || fail "installed metainfo differs from packaging/tavola.metainfo.xml"
  cmp -s "$icon" "$source/ui/art/icon_scalable.svg" || fail "installed icon differs from ui/art/icon_scalable.svg"
  cmp -s "$usr/share/doc/tavola/copyright" "$source/LICENSE" || fail "installed copyright differs from LICENSE"
  zcmp -s "$usr/share/man/man6/tavola.6.gz" "$source/packaging/tavola.6" ||
    fail "installed manual page differs from packaging/tavola.6"

  # The entry must start the installed program and name the installed icon.
  local exec_line icon_line
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  icon_line=$(sed -n 's/^Icon=//p' "$desktop")
  [ -x "$usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line does not name a program in usr/bin"
  [ -f "$usr/share/icons/hicolor/scalable/apps/$icon_line.svg" ] || fail "Icon=$icon_line names no installed icon"

  check_command_line "$usr/bin/tavola"

  grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
  grep -q '<launchable type="desktop-id">tavola.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not launch tavola.desktop"
}

# check_command_line PROGRAM: help and version answered on standard output
# with no display to open, anything else refused on standard error, and Qt's
# own options passed on (the game still running after a few seconds).
check_command_line() {
  local program=$1 out err status work_dir
  work_dir=$(mktemp -d)
  local bare=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
  for option in --help -h; do
    out=$("${bare[@]}" "$program" "$option") || fail "tavola $option failed"
    [[ $out == *"-h, --help"*"-v, --version"* ]] || fail "tavola $option does not list its options: $out"
  done
  out=$("${bare[@]}" "$program" --version) || fail "tavola --version failed"
  [[ $out =~ ^tavola\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "tavola --version printed '$out'"
  for wrong in --bogus -x extra; do
    status=0
    out=$("${bare[@]}" "$program" "$wrong" 2>"$work_dir/err") || status=$?
    err=$(cat "$work_dir/err")
    [ "$status" -eq 1 ] && [ -z "$out" ] && [[ $err == *"'${wrong##*-}'"* ]] ||
      fail "tavola $wrong: status $status, output '$out', error '$err'"
  done
  status=0
  "${bare[@]}" timeout 3 "$program" -platform offscreen -style fusion 2>/dev/null || status=$?
  [ "$status" -eq 124 ] || fail "tavola -platform offscreen -style fusion ended with status $status"
  status=0
  "${bare[@]}" timeout 3 "$program" -display "$DISPLAY" 2>/dev/null || status=$?
  [ "$status" -eq 124 ] || fail "tavola -display $DISPLAY ended with status $status"
  rm -rf "$work_dir"
}

# The validators, once, on an installed tree.
validate_tree() {
  local root=$1 source=$2
  need_tool appstreamcli
  bash "$source/tests/install/validate_desktop.sh" "$root/usr/share/applications/tavola.desktop" ||
    fail "the installed desktop entry is not valid"
  # --strict fails on warnings too; --no-net keeps it offline. It also checks
  # that the launchable desktop entry is installed beside the metainfo.
  appstreamcli validate-tree --no-net --strict "$root" || fail "appstreamcli rejects the installed tree"
}
