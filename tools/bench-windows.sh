#!/usr/bin/env bash
# Cross-builds the Windows program (tools/build-windows.sh) and runs its
# benchmark under Wine in a fresh prefix: the file services beside their
# floors, and the enable plus restore cycle among 10,000 files per folder with
# every name in other case. Figures are medians of repeated runs.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages wine wine64

bash tools/build-windows.sh >/dev/null
work=$(mktemp -d)
export WINEPREFIX=$work/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko install prompts
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
timeout 300 wineboot -i </dev/null >/dev/null 2>&1
wine "${ORVANDO_WIN_BUILD_DIR:-build-win}/bench/orvando_win_bench.exe" </dev/null
