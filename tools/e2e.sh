# shellcheck shell=bash
# Sourced by the end-to-end suites in tools/test.d: a private Xvfb, a temporary
# folder `work` and the one scenario every build goes through, by window title
# and button position. The suite sets `run` (how to start the program) and
# `border` (the client area's inset from the X window's left and bottom edges).
set -euo pipefail
. tools/deps.sh
orvando_ensure_packages xvfb xdotool x11-utils xauth openbox
work=$(mktemp -d) app_pid="" wm_pid="" xvfb_pid=""
cleanup() {
  { kill "$app_pid" "$wm_pid"; [ -z "${WINEPREFIX:-}" ] || wineserver -k; kill "$xvfb_pid"; } 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

start_app() { (cd "$1" && exec "${run[@]}" </dev/null >"$work/app.log" 2>&1) & app_pid=$!; }
shown() { xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1; }

# The id of the visible window titled exactly $1, waiting up to $window_wait s.
find_window() {
  for _ in $(seq $((${window_wait:-20} * 10))); do
    xdotool search --onlyvisible --limit 1 --name "^$(sed 's/[][().^$*+?]/\\&/g' <<<"$1")\$" 2>/dev/null && return
    kill -0 "$app_pid" 2>/dev/null || { cat "$work/app.log" >&2; fail "the program ended, showing no \"$1\""; }
    sleep 0.1
  done
  cat "$work/app.log" >&2
  fail "no window titled \"$1\""
}

expect_exit() { # status: waits up to 30 s for the program to end with it
  local status=0
  timeout 30 tail --pid="$app_pid" -f /dev/null || fail "the program did not end"
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
still_running() { sleep 0.5; kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $1"; }

# A click at a button's centre in the designed client area (206 px high).
click() { # window x y
  local height
  height=$(xdotool getwindowgeometry "$1" | awk -F'[ x]+' '/Geometry/ {print $4}')
  xdotool mousemove --window "$1" $((border + $2)) $((height - 206 - border + $3)) click 1
}
press() { xdotool windowfocus "$1"; sleep 0.3; xdotool key "$2"; }

# The help box is up: Return closes it and the program goes on.
help_box_closes() {
  box=$(find_window "How to manage an error")
  press "$box" Return
  for _ in $(seq 50); do shown "How to manage an error$" || break; sleep 0.1; done
  ! shown "How to manage an error$" || fail "the help box stayed"
  still_running "the help box ended the program"
}

contents() { (cd "$1" && find . -type f -exec md5sum {} + | cut -d' ' -f1 | sort); }

# What Qt sets on its X window, which without a window manager is its client area.
qt_props=("Geometry: 320x206" _NET_WM_WINDOW_TYPE_UTILITY "Icon (16 x 16)" "Icon (32 x 32)" "Icon (48 x 48)")

e2e_scenario() { # what the build sets on the X window...
  local box win props height state dir game was now
  dir=$(mktemp -d -p "$work")
  echo "== empty folder: the File error box alone; Return ends with 1, creating nothing"
  start_app "$dir" # still empty
  box=$(find_window "File error")
  ! shown "Orvando v2" || fail "a main window beside the File error box"
  press "$box" Return
  expect_exit 1
  [ -z "$(ls -A "$dir")" ] || fail "something was created in the empty folder"

  echo "== a backup name taken: Rename (Enable-Mod) refuses in one box, renaming nothing"
  game=$dir/game
  tools/make_sample_game.sh "$game" >/dev/null
  cp -a "$game" "$dir/start"
  echo taken >"$game/streamsounds/mus_sbat_acad.original.wav"
  cp -a "$game" "$dir/taken"
  start_app "$game"
  click "$(find_window "Orvando v2 (Det: Not Enabled)")" 140 44
  press "$(find_window "Orvando v2")" Return
  expect_exit 1
  diff -r "$dir/taken" "$game" || fail "the refused switch changed the game folder"
  rm "$game/streamsounds/mus_sbat_acad.original.wav"

  echo "== stock folder: the X window; Rename (Enable-Mod) moves the tracks"
  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Not Enabled)")
  props=$(xdotool getwindowgeometry "$win"; xprop -id "$win" _NET_WM_WINDOW_TYPE WM_NORMAL_HINTS _NET_WM_ICON)
  height=$(sed -n 's/.*Geometry: 320x//p' <<<"$props")
  [ -n "$height" ] || fail "the window is not 320 px wide: $(grep Geometry <<<"$props")"
  for want in "minimum size: 320 by $height" "maximum size: 320 by $height" "$@"; do
    grep -qF "$want" <<<"$props" || fail "the window lacks \"$want\""
  done
  click "$win" 140 44 # Rename (Enable-Mod)
  expect_exit 0
  [ "$(contents "$game")" = "$(contents "$dir/start")" ] || fail "the tracks' contents changed"
  was=$dir/start/streammusic now=$game/streammusic
  cmp -s "$was/mus_area_desert.wav" "$now/mus_area_desert.original.wav" || fail "a stock track is not backed up"
  cmp -s "$was/mus_area_ahto.mod.wav" "$now/mus_area_ahto.wav" || fail "a replacement is not under the stock name"
  [ -z "$(find "$game" -name '*.mod.*')" ] || fail "a .mod name is left"

  echo "== restart: Escape does nothing; Error Help by Tab and Return, by a click; Un-rename"
  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Mod Enabled)")
  state=$(find "$game" | sort)
  press "$win" Escape
  still_running "on Escape"
  ! shown "How to manage an error" || fail "Escape opened the help box"
  # Keys are handled in order: the help box shows that Escape was handled first.
  press "$win" Tab # from "Un-rename (Normal Music)", which has the focus, to "Error Help"
  press "$win" Return
  help_box_closes
  click "$win" 140 176 # Error Help
  help_box_closes
  [ "$(find "$game" | sort)" = "$state" ] || fail "Escape or the help renamed files"
  click "$win" 140 116 # Un-rename (Normal Music)
  expect_exit 0

  echo "== restart: Alt+F4 (the window manager's close) ends it, renaming nothing"
  openbox --sm-disable --startup "touch $dir/wm" >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 50); do [ -e "$dir/wm" ] && break; sleep 0.1; done
  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Not Enabled)")
  press "$win" alt+F4
  expect_exit 0
  kill "$wm_pid" && wm_pid=""
  diff -r "$dir/start" "$game" || fail "the game folder is not as it was"
}
