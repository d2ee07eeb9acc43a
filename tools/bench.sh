#!/usr/bin/env bash
# Builds the benchmarks (optimised) and prints every figure with its ratio to
# the floor measured in the same run. Figures are medians of 9 repetitions. The
# window's start is measured off screen, then on X11 under openbox, where a
# window manager takes each window. (On sway, a loop of thousands of windows
# fills the Wayland connection now and then: docs/performance.md has its figure,
# timed by hand with the same program.)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages "${ORVANDO_BUILD_PACKAGES[@]}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANDO_BUILD_QT=ON >/dev/null
cmake --build build-bench --target orvando_bench orvando_window_bench
args=(--benchmark_repetitions=9 --benchmark_report_aggregates_only=true --benchmark_color=false)
build-bench/bench/orvando_bench "${args[@]}"
build-bench/bench/orvando_window_bench "${args[@]}"
(
  . tools/desktops.sh
  desktop openbox
  echo "== the window's start on openbox"
  build-bench/bench/orvando_window_bench "${args[@]}" 2>/dev/null
)
