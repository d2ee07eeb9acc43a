#!/usr/bin/env bash
# The table and rename chain with the game folder on ext4 (also with 128-byte inodes, whose times
# are whole seconds), xfs, btrfs, tmpfs, NTFS (ntfs-3g) and exFAT (exfat-fuse), each made in a file
# and mounted, and the rename step each must reach.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/deps.sh
test=$PWD/${ORVANDO_BUILD_DIR:-build}/tests/program_test
[ "$(id -u)" -eq 0 ] || { echo "SKIP: every file system: mounting needs root"; exit 0; }
orvando_ensure_packages e2fsprogs xfsprogs btrfs-progs ntfs-3g exfat-fuse exfatprogs

work=$(mktemp -d) && chmod 755 "$work" # the tests run as nobody
# A FUSE mount that stops answering can hold its callers in waits that no signal ends; a forced
# unmount aborts its connection and so ends them. Nothing here waits on a mount without a bound.
bounded() { # seconds folder command...: the command, ended after that time
  "${@:3}" & local pid=$!
  timeout "$1" tail --pid=$pid -s 0.2 -f /dev/null || { umount -cf "$2"; kill -9 $pid; } 2>/dev/null
  wait $pid
}
cleanup() { # a loop mount frees its device itself; exFAT's is set up by hand
  for dir in "$work"/*/; do umount -cl "$dir" 2>/dev/null || true; done
  losetup -j "$work/exfat.img" -O NAME -n 2>/dev/null | xargs -r -n1 losetup -d || true
  rm -rf "$work"
}
trap cleanup EXIT

mount_fs() { # name image folder
  case $1 in
    ext4 | xfs | btrfs) "mkfs.$1" -q "$2" >/dev/null && mount -o loop "$2" "$3" && chmod 1777 "$3" ;;
    ext4-128) mkfs.ext4 -q -I 128 "$2" >/dev/null && mount -o loop "$2" "$3" && chmod 1777 "$3" ;;
    tmpfs) mount -t tmpfs -o size=64m tmpfs "$3" ;;
    # FUSE: others (nobody) may reach it; exFAT, which keeps no owners, lets everyone write.
    ntfs) mkntfs -q -F -f "$2" && ntfs-3g -o allow_other "$2" "$3" ;;
    exfat) mkfs.exfat "$2" >/dev/null &&
      mount.exfat-fuse -o allow_other,umask=0 "$(losetup -f --show "$2")" "$3" ;;
  esac
}

for entry in ext4:flag ext4-128:flag xfs:flag btrfs:flag tmpfs:flag ntfs:link exfat:check:1100; do
  IFS=: read -r name step cache_ms <<<"$entry" # cache_ms: exFAT's name cache, see the test
  img=$work/$name.img dir=$work/$name/
  mkdir -p "$dir"
  truncate -s 320M "$img"
  if ! error=$(bounded 60 "$dir" mount_fs "$name" "$img" "$dir" 2>&1); then
    echo "SKIP: $name: cannot be mounted here: $(tail -n1 <<<"$error")"
  elif ! out=$(TMPDIR=$dir ORVANDO_TEST_RENAME=$step ORVANDO_TEST_NAME_CACHE_MS=$cache_ms bounded \
    300 "$dir" "$test" --gtest_brief=1 --gtest_filter='Table/*:SystemCall.*' 2>&1); then
    printf '%s\nFAIL: %s\n' "$out" "$name" >&2 && exit 1
  else
    echo "$name: rename step \"$step\";$(awk '/^\[  (PASSED|SKIPPED) / {printf " %s %s", $4, tolower($2)}' <<<"$out")"
  fi
done
