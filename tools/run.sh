#!/usr/bin/env bash
# Builds the program, creates a sample game folder (sample-game/, stock music
# in place) if there is none, and starts the program in it.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages "${ORVANDO_BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
tools/make_sample_game.sh sample-game
cd sample-game
exec ../build/src/orvando-state
