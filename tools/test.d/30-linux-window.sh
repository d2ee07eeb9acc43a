#!/usr/bin/env bash
# End-to-end test of the Linux window: the real executable (build/orvando, made
# by tools/test.sh) in a real game folder on a private Xvfb display, driven
# with xdotool by window title and button position.
#
#   stock folder -> click "Rename (Enable-Mod)"       -> exits 0
#   restart      -> "Mod Enabled", click "Un-rename"  -> exits 0
#   restart      -> "Not Enabled"; Escape does nothing; the help box comes and goes
#   empty folder -> the "File error" box alone; Return ends the program with 1
# and no file's content is lost on the way.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/deps.sh
orvando_ensure_packages xvfb xdotool x11-utils xauth

root=$PWD
build=${ORVANDO_BUILD_DIR:-build}
exe=$root/$build/orvando
[ -x "$exe" ] || { echo "FAIL: $exe is missing; run tools/test.sh first" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
. tools/e2e.sh

start_xvfb
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# Button centres in the window, from the designed layout.
rename_xy=(140 44)
unrename_xy=(140 116)
help_xy=(140 176)

start_app() { # folder
  (cd "$1" && exec "$exe" >"$work/app.log" 2>&1) &
  app_pid=$!
}

click() { # window x y
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

press() { # window key
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  xdotool key "$2"
}

# The contents alone, sorted.
contents() { (cd "$1" && find . -type f -exec md5sum {} + | awk '{print $1}' | sort); }

game=$work/game
tools/make_sample_game.sh "$game" >/dev/null
start_listing=$(listing "$game")
start_contents=$(contents "$game")
[ "$(echo "$start_contents" | wc -l)" -eq 30 ] || fail "the sample game has not 30 files"

echo "== stock folder: enable"
start_app "$game"
win=$(find_window "Orvando v2 (Det: Not Enabled)")
size=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ {print $2}')
[ "$size" = "320x206" ] || fail "window size $size, expected 320x206"
props=$(xprop -id "$win" _NET_WM_WINDOW_TYPE WM_NORMAL_HINTS)
grep -q "_NET_WM_WINDOW_TYPE_UTILITY" <<<"$props" || fail "not a tool window: $props"
grep -q "minimum size: 320 by 206" <<<"$props" || fail "no fixed minimum size: $props"
grep -q "maximum size: 320 by 206" <<<"$props" || fail "no fixed maximum size: $props"
click "$win" "${rename_xy[@]}"
expect_exit 0
[ -f "$game/streammusic/mus_area_desert.original.wav" ] || fail "row 2 was not parked"
[ ! -e "$game/streammusic/mus_area_ahto.mod.wav" ] || fail "a replacement track was not moved in"
[ "$(contents "$game")" = "$start_contents" ] || fail "file contents changed by the enable"

echo "== enabled folder: restore"
start_app "$game"
win=$(find_window "Orvando v2 (Det: Mod Enabled)")
click "$win" "${unrename_xy[@]}"
expect_exit 0
[ "$(listing "$game")" = "$start_listing" ] || fail "the folder is not back as it was"

echo "== stock again: Escape, help"
start_app "$game"
win=$(find_window "Orvando v2 (Det: Not Enabled)")
press "$win" Escape
sleep 0.5
still_running "after Escape"
find_window "Orvando v2 (Det: Not Enabled)" >/dev/null
click "$win" "${help_xy[@]}"
box=$(find_window "How to manage an error")
press "$box" Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --name "^How to manage an error\$" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "^How to manage an error\$" >/dev/null 2>&1 &&
  fail "the help box did not close"
still_running "after the help box"
find_window "Orvando v2 (Det: Not Enabled)" >/dev/null
[ "$(listing "$game")" = "$start_listing" ] || fail "the help changed files"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""

echo "== empty folder: File error"
mkdir "$work/empty"
start_app "$work/empty"
box=$(find_window "File error")
if xdotool search --name "^Orvando v2" >/dev/null 2>&1; then
  fail "the main window exists beside the File error box"
fi
press "$box" Return
expect_exit 1
[ -z "$(ls -A "$work/empty")" ] || fail "something was created in the empty folder"

echo "linux window: all passed"
