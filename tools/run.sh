#!/usr/bin/env bash
# Builds the program, creates a sample game folder (sample-game/, stock music
# in place) if there is none, and opens the program's window in it.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages "${ORVANDO_BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANDO_BUILD_QT=ON >/dev/null
cmake --build build
tools/make_sample_game.sh sample-game
cd sample-game
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the window cannot open." >&2
  echo "Run tools/run.sh from a terminal of a desktop session." >&2
  echo "The sample game folder is ready in sample-game/; its state now:" >&2
  ../build/src/orvando-state >&2 || true
  exit 1
fi
exec ../build/orvando
