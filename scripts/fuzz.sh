#!/usr/bin/env bash
# Fuzzes one target by hand with clang and libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: scripts/fuzz.sh <target> [seconds]   e.g. scripts/fuzz.sh fuzz_survey 600
# New crashes land in build-fuzz/<target>-crashes/; add them to tests/data/fuzz/<target>/.
# The build uses FUZZ_JOBS parallel jobs (3 unless set), as the machine is shared.
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1; seconds=${2:-600}
scripts/deps.sh clang libclang-rt-14-dev
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVSP_BENCH=OFF -DVSP_SANITIZE=ON -DVSP_LIBFUZZER=ON >/dev/null
cmake --build build-fuzz -j "${FUZZ_JOBS:-3}" --target "${target}_fuzzer"
mkdir -p "build-fuzz/${target}-corpus" "build-fuzz/${target}-crashes"
cp -n tests/data/fuzz/"$target"/* "build-fuzz/${target}-corpus/" 2>/dev/null || true
build-fuzz/fuzz/"${target}_fuzzer" -max_total_time="$seconds" -artifact_prefix="build-fuzz/${target}-crashes/" \
  -print_final_stats=1 "build-fuzz/${target}-corpus"
