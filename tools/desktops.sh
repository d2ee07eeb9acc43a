# Sourced by the scripts that show the program on the desktops players use (the end-to-end tests,
# the screenshot command): `desktop NAME` starts one on a private 1920x1080 screen, then the
# program is started, its windows found, keys pressed and frames read there as a player meets them.
#   openbox, mutter, kwin  X11 window managers on Xvfb (GNOME's and KDE's with their own frames),
#                          a terminal active before the program starts, as when a player types
#   sway, sway-csd         Wayland, the compositor drawing the frame, or leaving it to Qt (also
#   sway-csd-200           at 200 %, on a 3840x2160 screen)
# The script sets `run`, the program's command, and `border`, the client area's inset in the
# window where the program draws a frame of its own (the Windows build under Wine).
set -euo pipefail
. tools/deps.sh
orvando_ensure_packages xvfb xdotool x11-utils xauth openbox mutter kwin-x11 breeze dbus-daemon \
  sway grim wtype qt6-wayland jq imagemagick
desktop_names=(openbox mutter kwin sway sway-csd sway-csd-200) # the matrix, in this order
work=$(mktemp -d) app_pid="" desktop_pids=() rt=""
stop_desktop() {
  { kill "$app_pid"; [ -z "${WINEPREFIX:-}" ] || wineserver -k; kill "${desktop_pids[@]}"; } 2>/dev/null || true
  [ -z "$rt" ] || rm -rf "$rt"
  app_pid="" desktop_pids=() rt=""
}
cleanup() { stop_desktop && rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL${desktop:+ ($desktop)}: $*" >&2; exit 1; }

# Sets side and top, the client area's inset in the window (sides and bottom, top), and grown,
# what the frame may add to the window's width and height after the desktop has placed it.
desktop() { # name
  stop_desktop
  desktop=$1 side=${border:-0} top=${border:-0} grown="0 0"
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
  [[ $1 != sway* ]] || { wayland_desktop "$1" && return; }
  exec {xvfb}< <(exec Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp -noreset 2>"$work/xvfb.log")
  desktop_pids+=($!)
  read -r -t 10 -u "$xvfb" display || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
  case $1 in # GNOME's and KDE's window managers need a session bus
    openbox) openbox --sm-disable ;;
    mutter) dbus-run-session -- mutter --x11 --replace --sm-disable ;;
    kwin) KWIN_COMPOSE=N dbus-run-session -- kwin_x11 --replace ;;
  esac >"$work/wm.log" 2>&1 &
  desktop_pids+=($!)
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q '#' && break; sleep 0.1; done
  xmessage -title terminal "the player's terminal" >/dev/null 2>&1 &
  desktop_pids+=($!)
  xdotool windowactivate --sync "$(find_window terminal)"
}

# sway refuses to run as root: it runs as nobody in a runtime folder of its own, which the tools
# and the program reach. Qt takes a keyboard only if one is on the seat when it starts: wtype's.
wayland_desktop() { # sway, sway-csd or sway-csd-200
  local user=() socket=""
  rt=$(mktemp -d)
  [ "$(id -u)" -ne 0 ] || { chown nobody "$rt" && user=(setpriv --reuid=nobody --regid=nogroup --clear-groups); }
  { # Alt+F4 closes a window, as on GNOME and KDE
    [[ $1 == *-200 ]] && echo 'output HEADLESS-1 resolution 3840x2160 scale 2' ||
      echo 'output HEADLESS-1 resolution 1920x1080'
    echo 'bindsym Mod1+F4 kill'
    [[ $1 == sway ]] || echo 'for_window [app_id=".*"] border csd'
  } >"$rt/config"
  "${user[@]}" env -i PATH="$PATH" XDG_RUNTIME_DIR="$rt" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$rt/config" >"$work/wm.log" 2>&1 &
  desktop_pids+=($!)
  for _ in $(seq 100); do
    socket=$(ls "$rt"/sway-ipc.*.sock 2>/dev/null) && [ -S "$rt/wayland-1" ] && break
    sleep 0.1
  done
  [ -n "$socket" ] || fail "sway did not start: $(cat "$work/wm.log")"
  export XDG_RUNTIME_DIR=$rt WAYLAND_DISPLAY=wayland-1 SWAYSOCK=$socket QT_QPA_PLATFORM=wayland
  wtype -s 86400000 & # held for the desktop's life
  desktop_pids+=($!)
  side=0 top=0
  [ "$1" = sway ] || side=3 top=30 grown="6 33" # Qt's own frame: 30 pixels of title, 3 of border
}

sway_tree() { swaymsg -t get_tree | jq -r ".. | objects | select(.pid?) | $1"; }
wins() { # the desktop's windows, a line each: id, a tab, the title
  if [ -n "${SWAYSOCK:-}" ]; then sway_tree '"\(.id)\t\(.name)"' && return; fi
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '%s\t%s\n' "$id" "$(xdotool getwindowname "$id")"
  done
}
active() { if [ -n "${SWAYSOCK:-}" ]; then sway_tree 'select(.focused) | .id'; else xdotool getactivewindow; fi; }
shown() { wins | awk -F'\t' -v t="$1" 'index($2, t) == 1 { s = 1 } END { exit !s }'; } # title start
start_app() { (cd "$1" && exec "${run[@]}" </dev/null >"$work/app.log" 2>&1) & app_pid=$!; }

find_window() { # title: the id of the window titled exactly so, waiting up to $window_wait s
  local id
  for _ in $(seq $((${window_wait:-20} * 5))); do
    id=$(wins | awk -F'\t' -v t="$1" '$2 == t { print $1; exit }') && [ -n "$id" ] && echo "$id" && return
    sleep 0.2
  done
  fail "no window titled \"$1\": $(cat "$work/app.log")"
}

expect_exit() { # status step: waits up to 30 s for the program to end with that status
  local status=0
  timeout 30 tail --pid="$app_pid" -f /dev/null || fail "$2: the program did not end"
  wait "$app_pid" || status=$? && app_pid=""
  [ "$status" -eq "$1" ] || fail "$2: exit status $status, expected $1"
}

# Keys go to whatever the desktop made active, as a player's would: the window must be it.
press() { # window key
  [ -n "$1" ] || exit 1 # an empty window id: find_window failed in a subshell
  for _ in $(seq 30); do
    if [ "$(active 2>/dev/null)" = "$1" ]; then
      if [[ -z ${SWAYSOCK:-} && $2 == alt+F4 ]]; then # as a hand presses it, not in one instant,
        xdotool keydown alt sleep 0.05 key F4 sleep 0.05 keyup alt # which mutter ignores
      elif [ -z "${SWAYSOCK:-}" ]; then xdotool key "$2"
      else # sway marks a window focused before Qt has been told: a moment, as a player takes
        [ "$1" = "${keyed:-}" ] || sleep 0.3
        if [ "$2" = alt+F4 ]; then wtype -M alt -s 50 -k F4 -s 50 -m alt; else wtype -k "$2"; fi
      fi
      keyed=$1
      return
    fi
    sleep 0.1
  done
  fail "\"$(wins | awk -F'\t' -v w="$1" '$1 == w { print $2 }')\" is not active for $2"
}
# The window's frame once the desktop has framed it. Sets frame (WxH+X+Y) and x, y, w, h, title,
# the height of sway's title bar above it, k, the layout's growth over the design, and client,
# the client area's top left on the screen.
geometry() { # window
  local X Y WIDTH HEIGHT l=0 r=0 t=0 b=0
  title=0
  if [ -n "${SWAYSOCK:-}" ]; then # sway's frame, the client's top within it, its title above
    read -r x y w h t title < <(sway_tree "select(.id == $1) |
      [.rect.x, .rect.y, .rect.width, .rect.height, .window_rect.y, .deco_rect.height] | @sh")
    X=$x Y=$((y + t)) HEIGHT=$((h - t))
  else
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "$1" | awk -F: '/Absolute upper-left [XY]|Width|Height/ {
      printf "%d ", $2 } END { print "" }')
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | grep -oE '[0-9]+, [0-9]+, [0-9]+, [0-9]+$' | tr -d ,) || true
    x=$((X - l)) y=$((Y - t)) w=$((WIDTH + l + r)) h=$((HEIGHT + t + b))
  fi
  frame=${w}x$h+$x+$y client="$((X + side)) $((Y + top))"
  k=$(awk -v h="$HEIGHT" -v t="$top" -v b="$side" 'BEGIN { print (h - t - b) / 206 }')
}
