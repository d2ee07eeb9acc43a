# Sourced by the end-to-end suites in tools/test.d, which set `work` (their
# temporary folder) first, keep the program's process id in app_pid and send
# its output to $work/app.log.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A private Xvfb on a display number it picks itself, kept up between program
# starts (-noreset).
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
}

# The id of the visible window titled exactly $1, waiting up to $window_wait s (20).
find_window() {
  local pattern id
  pattern="^$(printf '%s' "$1" | sed 's/[][().\\^$*+?{}|]/\\&/g')\$"
  for _ in $(seq $((${window_wait:-20} * 10))); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$work/app.log" >&2
  fail "no window titled \"$1\""
}

# Waits up to 30 s for the program to end with exit status $1.
expect_exit() {
  local status=0
  for _ in $(seq 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

still_running() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $1"; }

# "path md5" of every file below $1, sorted by path.
listing() { (cd "$1" && find . -type f -exec md5sum {} + | awk '{print $2, $1}' | sort); }
