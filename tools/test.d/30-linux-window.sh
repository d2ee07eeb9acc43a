#!/usr/bin/env bash
# The real Linux program (build/orvando, Qt on xcb) through the end-to-end
# scenario of tools/e2e.sh. Its layout, texts and keys are checked in process
# by tests/qt.
cd "$(dirname "$0")/../.." && . tools/e2e.sh
run=("$PWD/${ORVANDO_BUILD_DIR:-build}/orvando") border=0
[ -x "${run[0]}" ] || fail "${run[0]} is missing; run tools/test.sh first"
e2e_scenario "${qt_props[@]}"
echo "PASS: Linux program end to end"
