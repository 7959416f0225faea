#!/usr/bin/env bash
# Fuzzes one target by hand with clang and libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: scripts/fuzz.sh <target> [seconds] [libFuzzer options]   e.g. scripts/fuzz.sh fuzz_survey 600 -max_len=262144
# New crashes land in <build folder>/<target>-crashes/; add them to tests/data/fuzz/<target>/.
# The build uses FUZZ_JOBS parallel jobs (3 unless set), as the machine is shared, in FUZZ_BUILD
# (build-fuzz unless set), so that two targets can be fuzzed at once in two folders.
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1; seconds=${2:-600}; out=${FUZZ_BUILD:-build-fuzz}
scripts/deps.sh clang libclang-rt-14-dev
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVSP_BENCH=OFF -DVSP_SANITIZE=ON -DVSP_LIBFUZZER=ON >/dev/null
cmake --build "$out" -j "${FUZZ_JOBS:-3}" --target "${target}_fuzzer"
mkdir -p "$out/${target}-corpus" "$out/${target}-crashes"
cp -n tests/data/fuzz/"$target"/* "$out/${target}-corpus/" 2>/dev/null || true
"$out"/fuzz/"${target}_fuzzer" -max_total_time="$seconds" -artifact_prefix="$out/${target}-crashes/" \
  -print_final_stats=1 "${@:3}" "$out/${target}-corpus"
