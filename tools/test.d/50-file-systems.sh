#!/usr/bin/env bash
# The program's table (Table/*) and its rename chain (SystemCall.*) with the
# game folder on each file system a game may live on, made in a file and
# mounted: ext4, xfs and btrfs through a loop device, tmpfs, NTFS through
# ntfs-3g and exFAT through exfat-fuse. Each line tells the rename step that
# file system must reach (see docs/reliability.md). Mounting needs root; a
# file system that cannot be mounted here is skipped with a line saying so.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/deps.sh
test=$PWD/${ORVANDO_BUILD_DIR:-build}/tests/program_test
[ -x "$test" ] || { echo "FAIL: $test is missing; run tools/test.sh first" >&2; exit 1; }
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: every file system: mounting needs root"
  exit 0
fi
orvando_ensure_packages e2fsprogs xfsprogs btrfs-progs ntfs-3g exfat-fuse exfatprogs

work=$(mktemp -d)
chmod 755 "$work" # the table runs the program as nobody
cleanup() {
  for dir in "$work"/*/; do
    umount "$dir" 2>/dev/null || true
  done
  for img in "$work"/*.img; do
    for loop in $(losetup -j "$img" -O NAME -n 2>/dev/null); do losetup -d "$loop"; done
  done
  rm -rf "$work"
}
trap cleanup EXIT

mount_fs() { # name image folder
  case $1 in
    ext4) mkfs.ext4 -q -F "$2" && mount -o loop "$2" "$3" ;;
    xfs) mkfs.xfs -q "$2" && mount -o loop "$2" "$3" ;;
    btrfs) mkfs.btrfs -q "$2" && mount -o loop "$2" "$3" ;;
    tmpfs) mount -t tmpfs -o size=64m tmpfs "$3" ;;
    # FUSE: others may reach it (the table runs the program as nobody), and
    # exFAT, which keeps no owners, lets everyone write.
    ntfs) mkntfs -q -F -f "$2" && ntfs-3g -o allow_other "$2" "$3" ;;
    exfat) mkfs.exfat "$2" >/dev/null &&
      mount.exfat-fuse -o allow_other,umask=0 "$(losetup -f --show "$2")" "$3" ;;
  esac
}

failed=0
for entry in ext4:flag xfs:flag btrfs:flag tmpfs:flag ntfs:link exfat:check; do
  name=${entry%:*} step=${entry#*:} cache_ms=""
  [ "$name" != exfat ] || cache_ms=1100 # see ORVANDO_TEST_NAME_CACHE_MS in the test
  img=$work/$name.img dir=$work/$name/
  mkdir -p "$dir"
  truncate -s 320M "$img"
  if ! error=$(mount_fs "$name" "$img" "$dir" 2>&1); then
    echo "SKIP: $name: cannot be mounted here: $(tail -n1 <<<"$error")"
    continue
  fi
  if out=$(TMPDIR=$dir ORVANDO_TEST_RENAME=$step ORVANDO_TEST_NAME_CACHE_MS=$cache_ms "$test" --gtest_brief=1 \
    --gtest_filter='Table/*:SystemCall.*' 2>&1); then
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' <<<"$out")
    # Rows this file system cannot hold skip, each naming what it cannot hold.
    why=$(sed -n 's/^cannot hold \(.*\): .*/\1/p' <<<"$out" | sort | uniq -c | sed 's/^ *//' | paste -sd, - | sed 's/,/, /g')
    echo "$name: ${passed:-0} passed, rename step \"$step\"; rows skipped: ${why:-none}"
  else
    echo "$out" >&2
    echo "FAIL: $name"
    failed=1
  fi
  umount "$dir"
  for loop in $(losetup -j "$img" -O NAME -n); do losetup -d "$loop"; done
  rm -f "$img"
done
exit $failed
