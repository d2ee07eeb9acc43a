#!/usr/bin/env bash
# Builds everything and runs every test, installing what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages "${ORVANDO_BUILD_PACKAGES[@]}"

build=${ORVANDO_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANDO_WERROR=ON -DORVANDO_BUILD_QT=ON
cmake --build "$build"

# Formatting is part of the build's contract.
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

ctest --test-dir "$build" --output-on-failure

# Further suites (other platforms, end-to-end runs), each a script of its own
# that installs what it needs and exits non-zero on failure.
for suite in tools/test.d/*.sh; do
  [ -e "$suite" ] || continue
  echo "== $suite"
  bash "$suite"
done
