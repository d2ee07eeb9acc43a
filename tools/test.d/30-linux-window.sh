#!/usr/bin/env bash
# The real Linux program (build/orvando) on a private Xvfb display, driven with
# xdotool: what only the real process shows (the X window's size, type and
# icon, real boxes, exit status, real files). The window's layout, texts and
# keys are checked in process by tests/qt.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/deps.sh
orvando_ensure_packages xvfb xdotool x11-utils xauth
exe=$PWD/${ORVANDO_BUILD_DIR:-build}/orvando
[ -x "$exe" ] || { echo "FAIL: $exe is missing; run tools/test.sh first" >&2; exit 1; }
work=$(mktemp -d) xvfb_pid="" app_pid=""
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
. tools/e2e.sh
start_xvfb
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
start_app() { (cd "$1" && exec "$exe" >"$work/app.log" 2>&1) & app_pid=$!; }
# A click at a button's centre in the designed layout, or a key.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
press() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; xdotool key "$2"; }

game=$work/game
tools/make_sample_game.sh "$game" >/dev/null
start_listing=$(listing "$game")
start_app "$game"
win=$(find_window "Orvando v2 (Det: Not Enabled)")
props=$(xdotool getwindowgeometry "$win"
  xprop -id "$win" _NET_WM_WINDOW_TYPE WM_NORMAL_HINTS _NET_WM_ICON)
for want in "Geometry: 320x206" _NET_WM_WINDOW_TYPE_UTILITY "minimum size: 320 by 206" \
  "maximum size: 320 by 206" "Icon (16 x 16)" "Icon (32 x 32)" "Icon (48 x 48)"; do
  grep -qF "$want" <<<"$props" || fail "the window lacks \"$want\""
done
click "$win" 140 44  # Rename (Enable-Mod)
expect_exit 0
contents() { awk '{print $2}' | sort; }
[ "$(listing "$game" | contents)" = "$(contents <<<"$start_listing")" ] || fail "contents changed"
[ -f "$game/streammusic/mus_area_desert.original.wav" ] &&
  [ ! -e "$game/streammusic/mus_area_ahto.mod.wav" ] || fail "the enable did not rename the files"

start_app "$game"
win=$(find_window "Orvando v2 (Det: Mod Enabled)")
press "$win" Escape
click "$win" 140 176  # Error Help
press "$(find_window "How to manage an error")" Return
sleep 0.3
still_running "after Escape and the help box"
click "$(find_window "Orvando v2 (Det: Mod Enabled)")" 140 116  # Un-rename (Normal Music)
expect_exit 0
[ "$(listing "$game")" = "$start_listing" ] || fail "the folder is not back as it was"

mkdir "$work/empty"
start_app "$work/empty"
box=$(find_window "File error")
xdotool search --name "^Orvando v2" >/dev/null 2>&1 && fail "a main window beside the File error box"
press "$box" Return
expect_exit 1
[ -z "$(ls -A "$work/empty")" ] || fail "something was created in the empty folder"
echo "linux window: all passed"
