#!/usr/bin/env bash
# Reliability suite: the crash, race and permission tests, a reduced
# random-folder campaign, and a short fuzzing run of the name matching.
# The long campaign and what each check shows: docs/reliability.md.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/deps.sh
orvando_ensure_packages "${ORVANDO_BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

build=build-rel
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANDO_WERROR=ON \
  -DORVANDO_BUILD_QT=OFF >/dev/null
cmake --build "$build" -j2 --target orvando-campaign reliability_test

echo "-- crash, race, permission"
"$build/tests/reliability/reliability_test" --gtest_brief=1

echo "-- campaign"
"$build/tests/reliability/orvando-campaign" --states 400 --seed 100001

echo "-- fuzzing"
bash fuzz/run.sh 30
