#!/usr/bin/env bash
# fuzz/run.sh [SECONDS]: builds the name-matching fuzzer with clang (in
# build-fuzz, or $ORVANDO_FUZZ_BUILD_DIR) and runs it for SECONDS (default 30)
# from the committed seeds. New inputs go to the build folder, never into
# fuzz/corpus; an input that fails is saved there as crash-* and the script
# exits non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages clang libclang-rt-14-dev cmake ninja-build

seconds=${1:-30}
build=${ORVANDO_FUZZ_BUILD_DIR:-build-fuzz}
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build"
mkdir -p "$build/corpus" "$build/artifacts"
log="$build/fuzz.log"
if ! "$build/name_match_fuzzer" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/" "$build/corpus" fuzz/corpus >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "fuzzing failed; the input is in $build/artifacts/"
  exit 1
fi
grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || tail -n 5 "$log"
