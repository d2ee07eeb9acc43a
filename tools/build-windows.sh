#!/usr/bin/env bash
# Cross-builds the Windows program (build-win/orvando.exe) and its tests with
# mingw-w64, installing the compiler and GoogleTest's sources when missing.
# Extra arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  googletest

build=${ORVANDO_WIN_BUILD_DIR:-build-win}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANDO_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" "$@"
cmake --build "$build" -j2
echo "Built $build/orvando.exe ($(stat -c %s "$build/orvando.exe") bytes)"
