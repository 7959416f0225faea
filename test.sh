#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with ctest; then builds every library,
# its tests and the fuzz replays again with AddressSanitizer and UndefinedBehaviorSanitizer and runs those
# (not the benchmarks, not the end-to-end test), and once more with ThreadSanitizer for the tests of the
# worker pool and of the solver that uses it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest -j "$jobs" --output-on-failure) | tail -n 40
status=${PIPESTATUS[0]}

# Every folder that builds joins the sanitizer build by itself; a report fails its test.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSP_CORE_ONLY=OFF -DVSP_SANITIZE=ON \
  -DVSP_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
(cd build-asan && ctest -j "$jobs" --output-on-failure -E '^e2e[.]') | tail -n 40
status_asan=${PIPESTATUS[0]}

# ThreadSanitizer: only the two test programs, and only the pool's and the solver's tests (the realistic
# model's bit comparison, seconds long without the sanitizer, stays in the normal run); a report fails.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSP_CORE_ONLY=ON -DVSP_TSAN=ON >/dev/null
cmake --build build-tsan -j "$jobs" --target test_platform_rtl test_core
solver_tests='^(ThreadPool|SolverThreads|ForwardEntry|ForwardPhysics|Misfit|ProgressGauge|BoundaryNumbering|ElectrodePlacement|ElectrodeFactors|UsedElectrodes|ElementKernel|Inversion|QRDecompose|QRSolve|TDenseMatrix|Sensitivities|SampleSurvey|SurfacePotential)\.'
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest -j "$jobs" --output-on-failure --no-tests=error \
  -R "$solver_tests" -E 'Realistic') | tail -n 40
status_tsan=${PIPESTATUS[0]}

passed() { [[ $1 -eq 0 ]] && echo passed || echo FAILED; }
echo "tests: $(passed $status); sanitizer tests: $(passed $status_asan); thread sanitizer tests: $(passed $status_tsan)"
[[ $status -eq 0 && $status_asan -eq 0 && $status_tsan -eq 0 ]]
