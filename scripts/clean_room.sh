#!/usr/bin/env bash
# Runs the README's test command in a fresh Debian 12 root, on a clone of the
# repository's committed HEAD, so that nothing installed on this machine by
# hand can stand in for a missing install step. Needs root (mmdebstrap, mount
# and chroot). Started by `scripts/test.sh clean-room`.
#
# The base system is made once with mmdebstrap from Debian's archive and kept
# as build/clean-room/bookworm.tar; every run unpacks a fresh root from it.
# Delete that file to make the base anew.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "the clean room needs root: sudo $0" >&2; exit 2; }
scripts/setup.sh clean-room

work=$PWD/build/clean-room
base=$work/bookworm.tar
root=$work/root
mkdir -p "$work"

mounted_under() { awk -v root="$root" '$2 == root || index($2, root "/") == 1 { print $2 }' /proc/mounts; }
unmount_all() {
  local point
  for point in dev sys proc; do
    ! mountpoint -q "$root/$point" || umount -R "$root/$point" || umount -R -l "$root/$point"
  done
}
# A root with the host's /dev bound inside must never be deleted: remove one
# only once nothing is mounted under it, and never across file systems.
remove_root() {
  [ -e "$root" ] || return 0
  unmount_all
  if [ -n "$(mounted_under)" ]; then
    echo "still mounted under $root, so it is kept:" >&2
    mounted_under >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}
trap unmount_all EXIT

started=$SECONDS
if [ ! -s "$base" ]; then
  sources=()
  [ -f /etc/apt/sources.list.d/debian.sources ] && sources=(/etc/apt/sources.list.d/debian.sources)
  mmdebstrap --variant=minbase --format=tar bookworm "$base.part" "${sources[@]}"
  mv "$base.part" "$base"
fi
remove_root
mkdir "$root"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The machine's own trust, as its network needs it (a proxy's certificate
# authority, say): node and npm read it from NODE_EXTRA_CA_CERTS.
cp /etc/ssl/certs/ca-certificates.crt "$root/etc/host-ca-certificates.crt"
git clone -q --no-hardlinks "$PWD" "$root/tavola"
echo "clean room: $root, HEAD $(git -C "$root/tavola" rev-parse --short HEAD)"

mount -t proc proc "$root/proc"
for point in sys dev; do
  mount --rbind "/$point" "$root/$point"
  # Unmounting in here must never reach the host's own mounts.
  mount --make-rslave "$root/$point"
done
status=0
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  NODE_EXTRA_CA_CERTS=/etc/host-ca-certificates.crt \
  bash -c 'cd /tavola && scripts/test.sh' 2>&1 | tee "$work/test.log" || status=$?
unmount_all
remove_root
echo "clean room: $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
grep -a '^tests: ' "$work/test.log" | tail -n1 || echo "tests: 0 passed, 1 failed"
exit "$status"
