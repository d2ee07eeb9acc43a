#!/usr/bin/env bash
# fuzz/run.sh [SECONDS]: builds the name-matching fuzzer with clang in
# build-fuzz and runs it for SECONDS (default 30) from the seeds in
# fuzz/corpus. New inputs stay in build-fuzz; an input that fails is saved
# in build-fuzz/artifacts and the script exits non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
orvando_ensure_packages clang libclang-rt-14-dev cmake ninja-build
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz
mkdir -p build-fuzz/corpus build-fuzz/artifacts
build-fuzz/name_match_fuzzer -max_total_time="${1:-30}" -max_len=8192 -print_final_stats=1 \
  -artifact_prefix=build-fuzz/artifacts/ build-fuzz/corpus fuzz/corpus >build-fuzz/fuzz.log 2>&1 ||
  { tail -n 60 build-fuzz/fuzz.log; echo "fuzzing failed; the input is in build-fuzz/artifacts/"; exit 1; }
grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' build-fuzz/fuzz.log
