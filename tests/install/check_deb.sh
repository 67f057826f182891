#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks its control data
# and contents.
# Usage: check_deb.sh CPACK BUILD_DIR SOURCE_DIR WORK_DIR APP_ID VERSION PROGRAM MAINTAINER
#   PROGRAM is the built (unstripped) program, whose libraries Depends must cover;
#   MAINTAINER the one the build was configured with.
set -euo pipefail
cpack=$1 build=$2 source=$3 work=$4 app_id=$5 version=$6 program=$7 maintainer=$8
. "$source/tests/install/tree_checks.sh"
need_tool dpkg-deb
need_tool readelf
need_tool lintian

rm -rf "$work"
mkdir -p "$work"
(cd "$build" && "$cpack" -G DEB -B "$work" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
shopt -s nullglob
debs=("$work"/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one .deb in $work, found ${#debs[@]}"
deb=${debs[0]}
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "tavola_${version}_${arch}.deb" ] || fail "unexpected file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tavola ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project says $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Maintainer)" = "$maintainer" ] || fail "Maintainer is '$(field Maintainer)', the build says '$maintainer'"
[ -n "$(field Description)" ] || fail "no Description"

# Each relation as "name op version" (op and version may be empty).
relations() { field "$1" | tr ',' '\n' | sed -E 's/^ +//; s/ +$//; s/^([^ (]+) *(\(([<>=]+) *([^)]+)\))?$/\1 \3 \4/' | sed '/^ *$/d'; }
depends=$(relations Depends)
recommends=$(relations Recommends)
names_of() { awk '{print $1}' <<<"$1"; }
echo "Depends:"; echo "$depends"

# Every library the program links must come from a package it depends on.
mapfile -t needed < <(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ ${#needed[@]} -gt 0 ] || fail "readelf found no libraries in $program"
for lib in "${needed[@]}"; do
  path=$(ldd "$program" | awk -v lib="$lib" '$1 == lib {print $3}')
  [ -n "$path" ] || fail "ldd cannot resolve $lib"
  owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "$path" 2>/dev/null) ||
    fail "no package owns $path"
  owner=${owner%%:*}
  names_of "$depends" | grep -qx "$owner" || fail "$program links $lib from $owner, which Depends lacks"
done

# What the program loads at run time rather than links.
for pkg in qt6-qpa-plugins fonts-liberation2 qt6-translations-l10n; do
  names_of "$depends" | grep -qx "$pkg" || fail "Depends lacks $pkg"
done
names_of "$recommends" | grep -qx libcanberra0 || fail "Recommends lacks libcanberra0"
names_of "$depends" | grep -qx libcanberra0 && fail "libcanberra0 is optional and must not be in Depends"

# Installable here: every dependency is installed at a version that satisfies it.
while read -r name op want; do
  have=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null) || fail "Depends names $name, which is not installed here"
  [ -z "$op" ] || dpkg --compare-versions "$have" "$op" "$want" || fail "$name $have does not satisfy ($op $want)"
done <<<"$depends"

listing=$(dpkg-deb -c "$deb")
grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/tavola$' <<<"$listing" || fail "usr/bin/tavola missing or not 0755 root:
$listing"

dpkg-deb -x "$deb" "$work/root"
check_tree "$work/root" "$source" "$app_id"
readelf -S "$work/root/usr/bin/tavola" | grep -q '\.debug_info' && fail "packaged program is not stripped"
zcat "$work/root/usr/share/doc/tavola/changelog.gz" | grep -qF -- " -- $maintainer  " ||
  fail "the changelog's entry is not signed by $maintainer"

# Debian's own checks, pedantic ones included: not a single remark.
report=$(lintian --pedantic "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[ -z "$report" ] || fail "lintian:
$report"
echo "package $(basename "$deb") OK"
