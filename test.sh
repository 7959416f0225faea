#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with ctest; then builds the run time,
# the core and their tests again with AddressSanitizer and UndefinedBehaviorSanitizer and runs those.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest -j "$jobs" --output-on-failure) | tail -n 40
status=${PIPESTATUS[0]}

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSP_CORE_ONLY=ON -DVSP_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
(cd build-asan && ctest -j "$jobs" --output-on-failure) | tail -n 40
status_asan=${PIPESTATUS[0]}

echo "tests: $([[ $status -eq 0 ]] && echo passed || echo FAILED); sanitizer tests: $([[ $status_asan -eq 0 ]] && echo passed || echo FAILED)"
[[ $status -eq 0 && $status_asan -eq 0 ]]
