#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing Tavola needs.
# Usage: scripts/setup.sh play|web|test|clean-room    (as root, or through sudo)
set -euo pipefail

build=(g++ cmake make qt6-base-dev qt6-base-private-dev qt6-svg-dev libwayland-dev)
# qt6-wayland: the game runs natively on a Wayland desktop too.
play=(qt6-translations-l10n fonts-liberation2 libcanberra0 sound-theme-freedesktop qt6-wayland)
tests=(libgtest-dev xvfb xauth xdotool x11-utils x11-xkb-utils binutils desktop-file-utils appstream lintian
       at-spi2-core python3 python3-pyatspi dbus-daemon
       clang libclang-rt-14-dev llvm
       openbox orca speech-dispatcher espeak-ng weston mutter dbus-x11 imagemagick
       kde-style-breeze qt6-gtk-platformtheme)
# The browser edition: Debian's emscripten (with node), the fonts and the
# tools that subset them and draw the icons; its tests drive Debian's Chromium,
# Firefox and WebKit.
web=(emscripten fonts-liberation2 fonttools python3-brotli librsvg2-bin)
webTests=(chromium firefox-esr webkit2gtk-driver)
# The clean room: a fresh Debian root to run the tests in.
cleanRoom=(mmdebstrap git)

case "${1:-play}" in
  play) wanted=("${build[@]}" "${play[@]}") ;;
  web) wanted=("${web[@]}") ;;
  test) wanted=("${build[@]}" "${play[@]}" "${tests[@]}" "${web[@]}" "${webTests[@]}") ;;
  clean-room) wanted=("${cleanRoom[@]}") ;;
  *) echo "usage: $0 play|web|test|clean-room" >&2; exit 2 ;;
esac
# npm comes with some builds of node; Debian's node needs Debian's npm.
if [[ $1 == web || $1 == test ]] && ! command -v npm >/dev/null; then wanted+=(npm); fi

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
