#!/usr/bin/env bash
# The Linux program (build/orvando, Qt on xcb) through the end-to-end scenario of tools/e2e.sh.
cd "$(dirname "$0")/../.." && . tools/e2e.sh
run=("$PWD/${ORVANDO_BUILD_DIR:-build}/orvando") border=0
e2e_scenario "${qt_props[@]}"
