# Sourced by the end-to-end suites: a private Xvfb of 1920x1080 with openbox on it, a folder
# `work` and the scenario every build goes through. The suite sets `run` and `border` (the client
# area's inset in the X window, which the Windows build draws itself).
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
set -E && trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR # no step ends the run unsaid

exec {xvfb}< <(exec Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp -noreset 2>"$work/xvfb.log")
xvfb_pid=$!
read -r -t 10 -u "$xvfb" display || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
openbox --sm-disable --startup "touch $work/wm" >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do [ -e "$work/wm" ] && break; sleep 0.1; done

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

# Keys go to whatever the window manager made active, as a player's would: the window must be it.
press() { # window key
  [ -n "$1" ] || exit 1 # an empty window id: find_window failed in a subshell
  for _ in $(seq 30); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && xdotool key "$2" && return
    sleep 0.1
  done
  fail "\"$(xdotool getwindowname "$1")\" is not active for $2"
}
# The frame, the window manager's and the build's own, on the screen and centred within 2 pixels
# once the window manager has framed it (a second at most). Sets frame (WxH+X+Y), k, the layout's
# growth over the design, and top, the client area's top in the X window.
centred() { # window
  local X Y WIDTH HEIGHT l r t b x y w h
  for _ in $(seq 10); do
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "$1" | awk -F: '/Absolute upper-left [XY]|Width|Height/ {
      printf "%d ", $2 } END { print "" }')
    l=0 r=0 t=0 b=0
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | grep -oE '[0-9]+, [0-9]+, [0-9]+, [0-9]+$' | tr -d ,) || true
    x=$((X - l)) y=$((Y - t)) w=$((WIDTH + l + r)) h=$((HEIGHT + t + b)) frame=${w}x$h+$x+$y
    k=$(awk -v w="$w" 'BEGIN { print w / 320 }')
    top=$(awk -v h="$HEIGHT" -v k="$k" -v e="$border" 'BEGIN { printf "%d", h - 206 * k - e }')
    ((x >= 0 && y >= 0 && x + w <= 1920 && y + h <= 1080 && (2 * x + w - 1920) ** 2 <= 16 &&
      (2 * y + h - 1080) ** 2 <= 16)) && return
    sleep 0.1
  done
  fail "the frame is at $x,$y, ${w}x$h: not centred on the screen"
}
click() { # window x y: at the design's place in the client area, grown as the layout is
  [ -n "$1" ] || exit 1
  xdotool mousemove --window "$1" "$(awk -v k="$k" -v e="$border" -v x="$2" 'BEGIN { printf "%d", e + x * k }')" \
    "$(awk -v k="$k" -v t="$top" -v y="$3" 'BEGIN { printf "%d", t + y * k }')" click 1
}

help_box_closes() { # window: the help box is up, owned by it; Return closes it and the program goes on
  local box
  box=$(find_window "How to manage an error")
  xprop -id "$box" WM_TRANSIENT_FOR | grep -q "$(printf '# 0x%x$' "$1")" || fail "the help box stands alone"
  press "$box" Return
  for _ in $(seq 50); do shown "How to manage an error$" || break; sleep 0.1; done
  ! shown "How to manage an error$" || fail "the help box stayed"
  still_running "the help box ended the program"
}

# What Qt sets on its X window.
qt_props=(_NET_WM_WINDOW_TYPE_UTILITY "Icon (16 x 16)" "Icon (32 x 32)" "Icon (48 x 48)")

e2e_scenario() { # what the build sets on the X window...
  local win props dir game
  dir=$(mktemp -d -p "$work")
  start_app "$dir"
  win=$(find_window "File error")
  ! shown "Orvando v2" || fail "a main window beside the File error box"
  press "$win" Return
  expect_exit 1 "Return on the File error box"

  game=$dir/game
  tools/make_sample_game.sh "$game" >/dev/null
  cp -a "$game" "$dir/start"
  for i in $(seq 10); do # each start centred, on screen, active; Alt+F4 ends it, renaming nothing
    start_app "$game"
    win=$(find_window "Orvando v2 (Det: Not Enabled)")
    centred "$win"
    press "$win" alt+F4
    expect_exit 0 "Alt+F4 at start $i"
  done

  # The X window; Rename (Enable-Mod), the focused button, switches, as the next start's caption shows.
  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Not Enabled)")
  props=$(xprop -id "$win" _NET_WM_WINDOW_TYPE WM_NORMAL_HINTS _NET_WM_ICON)
  for want in "minimum size: " "$@"; do
    grep -qF "$want" <<<"$props" || fail "the window lacks \"$want\""
  done
  [ "$(sed -n 's/.*minimum size: //p' <<<"$props")" = "$(sed -n 's/.*maximum size: //p' <<<"$props")" ] ||
    fail "the window can be resized: $props"
  press "$win" Return
  expect_exit 0 "Return on Rename (Enable-Mod)"

  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Mod Enabled)")
  centred "$win"
  press "$win" Tab # from "Un-rename (Normal Music)", which has the focus, to "Error Help"
  press "$win" Return
  help_box_closes "$win"
  click "$win" 140 176 # Error Help
  help_box_closes "$win"
  click "$win" 140 116 # Un-rename (Normal Music)
  expect_exit 0 "Un-rename (Normal Music)"
  diff -r "$dir/start" "$game" || fail "the game folder is not as it was"

  # A track lost: Escape does nothing, Tab goes round the three buttons, the focus stays where it
  # was after the help box, and the switch's warning stands alone while the window is away.
  rm "$game/streammusic/mus_theme_malak.wav"
  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Error, rec. Rename)")
  for key in Escape Tab Tab Return; do press "$win" $key; done
  help_box_closes "$win"
  press "$win" Return # the window active again, the focus still on "Error Help"
  help_box_closes "$win"
  for key in Tab Return; do press "$win" $key; done # round to "Rename (Enable-Mod)"
  win=$(find_window "File rename error")
  ! shown "Orvando v2 \\(" || fail "the main window beside the warning"
  press "$win" Return
  expect_exit 0 "Rename (Enable-Mod) with a track lost"
}
