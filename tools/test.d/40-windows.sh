#!/usr/bin/env bash
# The Windows program: cross-builds it (tools/build-windows.sh), runs the
# cross-built tests under Wine with ctest (core, Windows file services, the
# window, the exe's resources, size and imports), then runs the real
# orvando.exe under Wine on a private Xvfb display, driven with xdotool by
# window title and button position:
#
#   empty folder -> the "File error" box alone; Return ends the program with 1
#   stock folder -> click "Rename (Enable-Mod)"                  -> exits 0
#   restart      -> "Mod Enabled"; Escape does nothing; Tab, Enter shows
#                   the help box (Enter acts on the focused button only);
#                   so does a click on "Error Help"; click "Un-rename
#                   (Normal Music)"                              -> exits 0
#   restart      -> "Not Enabled"; Alt+F4 closes it, renaming nothing
# and in the end every file is back under its name with its content.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/deps.sh
orvando_ensure_packages wine wine64 xvfb xdotool xauth

bash tools/build-windows.sh

root=$PWD
build=${ORVANDO_WIN_BUILD_DIR:-build-win}
exe=$root/$build/orvando.exe

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
export WINEPREFIX=$work/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko install prompts
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
. tools/e2e.sh
window_wait=60  # the first start of a Wine program is slow

start_xvfb

# A fresh Wine prefix. The server stays up for the whole run, and Wine's own
# background programs are started here, with no tie to ctest's output pipes
# (which they would otherwise hold open after a test has ended).
echo "== Wine prefix"
timeout 300 wineboot -i </dev/null >"$work/wineboot.log" 2>&1 ||
  fail "wineboot failed: $(tail -5 "$work/wineboot.log")"
timeout 60 wineserver -w  # until wineboot's server has gone
wineserver -p </dev/null >/dev/null 2>&1
timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1 || true

echo "== cross-built tests under Wine"
timeout 900 ctest --test-dir "$build" --output-on-failure --timeout 120 </dev/null

echo "== orvando.exe: $(stat -c %s "$exe") bytes, imports:" \
  "$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')"

# --- end to end -------------------------------------------------------------

# Button centres in the client area, from the designed layout.
rename_xy=(140 44)
unrename_xy=(140 116)
help_xy=(140 176)
client_height=206

start_app() { # folder
  (cd "$1" && exec wine "$exe" </dev/null >"$work/app.log" 2>&1) &
  app_pid=$!
}

no_window() { # title prefix
  if xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1; then
    fail "a window \"$1...\" is on screen"
  fi
}

# Wine draws the frame inside the X window: a 3-pixel fixed frame around the
# client area, the small caption above it.
click() { # window client-x client-y
  local height
  height=$(xdotool getwindowgeometry "$1" | awk -F'[ x]+' '/Geometry/ {print $4}')
  xdotool mousemove --window "$1" $((3 + $2)) $((height - client_height - 3 + $3)) click 1
}

press() { # window key
  xdotool windowfocus "$1"
  sleep 0.3
  xdotool key "$2"
}

md5_of() { md5sum "$1" | cut -d' ' -f1; }

echo "== empty folder"
mkdir "$work/empty"
start_app "$work/empty"
box=$(find_window "File error")
no_window "Orvando v2"
press "$box" Return
expect_exit 1

game=$work/game
tools/make_sample_game.sh "$game" >/dev/null
start_listing=$(listing "$game")
[ "$(echo "$start_listing" | wc -l)" -eq 30 ] || fail "the sample game has not 30 files"
desert=$(md5_of "$game/streammusic/mus_area_desert.wav")
ahto_mod=$(md5_of "$game/streammusic/mus_area_ahto.mod.wav")

echo "== stock folder: enable"
start_app "$game"
win=$(find_window "Orvando v2 (Det: Not Enabled)")
width=$(xdotool getwindowgeometry "$win" | awk -F'[ x]+' '/Geometry/ {print $3}')
[ "$width" = 320 ] || fail "window width $width, expected 320 (4800 twips)"
click "$win" "${rename_xy[@]}"
expect_exit 0
[ "$(md5_of "$game/streammusic/mus_area_desert.original.wav")" = "$desert" ] ||
  fail "the stock track did not move to its backup name"
[ "$(md5_of "$game/streammusic/mus_area_ahto.wav")" = "$ahto_mod" ] ||
  fail "the replacement track did not move into the stock name"
[ ! -e "$game/streammusic/mus_area_ahto.mod.wav" ] || fail "a replacement name is left"

echo "== restart: restore"
start_app "$game"
win=$(find_window "Orvando v2 (Det: Mod Enabled)")
# The focus starts on "Un-rename (Normal Music)": Escape must not click it.
press "$win" Escape
sleep 1
still_running "Escape closed the window or ran the restore"
no_window "How to manage an error"
# Tab to "Error Help"; Enter acts on that button alone.
press "$win" Tab
press "$win" Return
box=$(find_window "How to manage an error")
press "$box" Return
sleep 1
still_running "the help box ended the program"
box_gone() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^How to manage an error$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the help box stayed"
}
box_gone
[ -e "$game/streammusic/mus_area_desert.original.wav" ] || fail "a key ran the restore"
# The same box by a click, then the restore by a click.
click "$win" "${help_xy[@]}"
box=$(find_window "How to manage an error")
press "$box" Return
box_gone
click "$win" "${unrename_xy[@]}"
expect_exit 0

echo "== restart: close"
start_app "$game"
win=$(find_window "Orvando v2 (Det: Not Enabled)")
press "$win" alt+F4
expect_exit 0

[ "$(listing "$game")" = "$start_listing" ] || {
  diff <(echo "$start_listing") <(listing "$game") >&2 || true
  fail "the game folder is not as it was"
}
echo "PASS: Windows build, tests under Wine and end-to-end run"
