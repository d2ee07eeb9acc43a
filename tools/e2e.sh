# Sourced by the end-to-end suites: a private Xvfb, a folder `work` and the scenario every build
# goes through. The suite sets `run` and `border` (the client area's inset in the X window).
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

exec {xvfb}< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>"$work/xvfb.log")
xvfb_pid=$!
read -r -t 10 -u "$xvfb" display || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

start_app() { (cd "$1" && exec "${run[@]}" </dev/null >"$work/app.log" 2>&1) & app_pid=$!; }
shown() { xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1; }

find_window() { # title: the id of the visible window titled exactly so, waiting up to $window_wait s
  timeout "${window_wait:-20}" xdotool search --sync --onlyvisible --limit 1 \
    --name "^$(sed 's/[][().^$*+?]/\\&/g' <<<"$1")\$" 2>/dev/null || fail "no window titled \"$1\": $(cat "$work/app.log")"
}

expect_exit() { # status step: waits up to 30 s for the program to end with that status
  local status=0
  timeout 30 tail --pid="$app_pid" -f /dev/null || fail "$2: the program did not end"
  wait "$app_pid" || status=$? && app_pid=""
  [ "$status" -eq "$1" ] || fail "$2: exit status $status, expected $1"
}
still_running() { sleep 0.5; kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $1"; }

# An empty window id (find_window failed in a subshell) ends the run. Clicks go by client area.
click() { [ -n "$1" ] || exit 1; xdotool mousemove --window "$1" $((border + $2)) $((top + $3)) click 1; }
press() { [ -n "$1" ] || exit 1; xdotool windowfocus "$1"; sleep 0.3; xdotool key "$2"; }

help_box_closes() { # the help box is up: Return closes it and the program goes on
  press "$(find_window "How to manage an error")" Return
  for _ in $(seq 50); do shown "How to manage an error$" || break; sleep 0.1; done
  ! shown "How to manage an error$" || fail "the help box stayed"
  still_running "the help box ended the program"
}

# What Qt sets on its X window, which without a window manager is its client area.
qt_props=("Geometry: 320x206" _NET_WM_WINDOW_TYPE_UTILITY "Icon (16 x 16)" "Icon (32 x 32)" "Icon (48 x 48)")

e2e_scenario() { # what the build sets on the X window...
  local win props height top dir game
  dir=$(mktemp -d -p "$work")
  start_app "$dir"
  win=$(find_window "File error")
  ! shown "Orvando v2" || fail "a main window beside the File error box"
  press "$win" Return
  expect_exit 1 "Return on the File error box"

  # The X window; Rename (Enable-Mod) switches, as the next start's caption shows.
  game=$dir/game
  tools/make_sample_game.sh "$game" >/dev/null
  cp -a "$game" "$dir/start"
  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Not Enabled)")
  props=$(xdotool getwindowgeometry "$win"; xprop -id "$win" _NET_WM_WINDOW_TYPE WM_NORMAL_HINTS _NET_WM_ICON)
  height=$(sed -n 's/.*Geometry: 320x//p' <<<"$props")
  [ -n "$height" ] || fail "the window is not 320 px wide: $(grep Geometry <<<"$props")"
  for want in "minimum size: 320 by $height" "maximum size: 320 by $height" "$@"; do
    grep -qF "$want" <<<"$props" || fail "the window lacks \"$want\""
  done
  top=$((height - 206 - border)) # the designed client area's top in the X window
  click "$win" 140 44 # Rename (Enable-Mod)
  expect_exit 0 "Rename (Enable-Mod)"

  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Mod Enabled)")
  press "$win" Escape
  still_running "on Escape"
  ! shown "How to manage an error" || fail "Escape opened the help box"
  press "$win" Tab # from "Un-rename (Normal Music)", which has the focus, to "Error Help"
  press "$win" Return
  help_box_closes
  click "$win" 140 176 # Error Help
  help_box_closes
  click "$win" 140 116 # Un-rename (Normal Music)
  expect_exit 0 "Un-rename (Normal Music)"

  openbox --sm-disable --startup "touch $dir/wm" >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 50); do [ -e "$dir/wm" ] && break; sleep 0.1; done
  start_app "$game"
  press "$(find_window "Orvando v2 (Det: Not Enabled)")" alt+F4
  expect_exit 0 "Alt+F4"
  diff -r "$dir/start" "$game" || fail "the game folder is not as it was"
}
