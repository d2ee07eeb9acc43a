# Sourced by the end-to-end suites in tools/test.d: a private Xvfb display,
# and helpers that find windows by title and follow the program under test,
# whose process id the suite keeps in app_pid and whose output goes to
# $work/app.log. The suite sets `work` to its temporary folder first.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Our own X server on a display number it picks itself; kept up between
# program starts (-noreset), so a start never finds the server resetting.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
  echo "Xvfb on $DISPLAY"
}

# Prints the id of the visible window whose title is exactly $1, waiting up
# to $window_wait seconds (default 20).
find_window() {
  local pattern id
  pattern="^$(printf '%s' "$1" | sed 's/[][().\\^$*+?{}|]/\\&/g')\$"
  for _ in $(seq $((${window_wait:-20} * 10))); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "--- program output:" >&2
  cat "$work/app.log" >&2
  fail "no window titled \"$1\""
}

# Waits up to 30 s for the program to end and checks its exit status.
expect_exit() { # status
  for _ in $(seq 300); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
  local status=0
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

still_running() { # what just happened
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $1"
}

# "path md5" of every file below $1, sorted by path.
listing() { (cd "$1" && find . -type f -exec md5sum {} + | awk '{print $2, $1}' | sort); }
