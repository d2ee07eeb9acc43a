# Sourced by the end-to-end suites: the scenario every build goes through on a desktop of
# tools/desktops.sh, as a player would take it.
. tools/desktops.sh
set -E && trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR # no step ends the run unsaid
still_running() { sleep 0.5; kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $1"; }

# The window on the screen and centred within 2 pixels once the desktop has framed it (a second
# at most); on Wayland, where the compositor places it, within what Qt's own frame added after.
centred() { # window
  for _ in $(seq 10); do
    geometry "$1"
    ((x >= 0 && y >= 0 && x + w <= 1920 && y + h <= 1080 && (2 * x + w - 1920) ** 2 <= (4 + ${grown% *}) ** 2 &&
      (2 * y + h - 1080) ** 2 <= (4 + ${grown#* }) ** 2)) && return
    sleep 0.1
  done
  fail "the frame is at $x,$y, ${w}x$h: not centred on the screen"
}
click() { # window x y keys...: at the design's place in the client area, grown as the layout is;
  [ -n "$1" ] || exit 1 # where the desktop has no pointer (sway here), the keys that reach it
  [ -z "${SWAYSOCK:-}" ] || { for key in "${@:4}"; do press "$1" "$key"; done && return; }
  xdotool mousemove $(awk -v k="$k" -v c="$client" -v x="$2" -v y="$3" 'BEGIN { split(c, o, " ")
    printf "%d %d", o[1] + x * k, o[2] + y * k }') click 1
}

help_box_closes() { # window: the help box is up, owned by it; Return closes it and the program goes on
  local box
  box=$(find_window "How to manage an error")
  [ -n "${SWAYSOCK:-}" ] || xprop -id "$box" WM_TRANSIENT_FOR | grep -q "$(printf '# 0x%x$' "$1")" ||
    fail "the help box stands alone"
  press "$box" Return
  for _ in $(seq 50); do shown "How to manage an error" || break; sleep 0.1; done
  ! shown "How to manage an error" || fail "the help box stayed"
  still_running "the help box ended the program"
}

# Where Qt draws the frame, the caption whole: set in its type (14 pixels), no wider than the room
# between the boxes at the ends of the title bar (77 pixels each, the caption centred).
caption_whole() { # window caption
  [[ $desktop == sway-csd* ]] || return 0
  local want
  centred "$1"
  want=$(convert -font DejaVu-Sans -pointsize 14 label:"$2" -trim -format '%w' info:)
  ((${frame%%x*} - 2 * 77 >= want)) || fail "the caption \"$2\" is cut: $want pixels in a ${frame%%+*} frame"
}

# What Qt sets on its X window.
qt_props=(_NET_WM_WINDOW_TYPE_DIALOG "Icon (16 x 16)" "Icon (32 x 32)" "Icon (48 x 48)")

e2e_scenario() { # what the build sets on the X window...
  local win props dir game step
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
  caption_whole "$win" "Orvando v2 (Det: Not Enabled)"
  if [ -z "${SWAYSOCK:-}" ]; then
    props=$(xprop -id "$win" _NET_WM_WINDOW_TYPE _NET_WM_STATE WM_NORMAL_HINTS _NET_WM_ICON)
    for want in "minimum size: " "$@"; do
      grep -qF "$want" <<<"$props" || fail "the window lacks \"$want\""
    done
    [ "$(sed -n 's/.*minimum size: //p' <<<"$props")" = "$(sed -n 's/.*maximum size: //p' <<<"$props")" ] ||
      fail "the window can be resized: $props"
  fi
  press "$win" Return
  expect_exit 0 "Return on Rename (Enable-Mod)"

  start_app "$game"
  win=$(find_window "Orvando v2 (Det: Mod Enabled)")
  centred "$win"
  press "$win" Tab # from "Un-rename (Normal Music)", which has the focus, to "Error Help"
  press "$win" Return
  help_box_closes "$win"
  click "$win" 140 176 space # Error Help
  help_box_closes "$win"
  click "$win" 140 116 Tab space # Un-rename (Normal Music)
  expect_exit 0 "Un-rename (Normal Music)"
  diff -r "$dir/start" "$game" || fail "the game folder is not as it was"

  # A track lost: both buttons shown, Escape does nothing, Tab goes round the three, the focus
  # stays where it was after the help box, and the switch's warning stands alone while the window
  # is away. Rename (Enable-Mod) loses the track's backup in turn; Un-rename (Normal Music), one
  # Tab further, brings back all the rest.
  rm "$game/streammusic/mus_theme_malak.wav"
  for step in "Error, rec. Rename/Tab" "Error, rec. Un-rename/Tab Tab"; do
    start_app "$game"
    win=$(find_window "Orvando v2 (Det: ${step%/*})")
    caption_whole "$win" "Orvando v2 (Det: ${step%/*})"
    for key in Escape Tab Tab Return; do press "$win" $key; done
    help_box_closes "$win"
    press "$win" Return # the window active again, the focus still on "Error Help"
    help_box_closes "$win"
    for key in ${step#*/} Return; do press "$win" "$key"; done
    win=$(find_window "File rename error")
    ! shown "Orvando v2 (" || fail "the main window beside the warning"
    press "$win" Return
    expect_exit 0 "the switch in the state ${step%/*}"
  done
  [ "$(diff -r "$dir/start" "$game")" = "Only in $dir/start/streammusic: mus_theme_malak.wav" ] ||
    fail "the game folder is not as it was but for the lost track: $(diff -r "$dir/start" "$game")"
}
