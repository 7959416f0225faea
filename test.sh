#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with ctest; then builds every library,
# its tests and the fuzz replays again with clang, AddressSanitizer and UndefinedBehaviorSanitizer and runs
# those (not the benchmarks, not the end-to-end test), and once more with ThreadSanitizer for the tests of
# the worker pool and of the solver that uses it. Ends with each stage's result, wall time and processor time.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Processor time counts every finished child (compilers, tests) in user plus system seconds: on a shared
# or smaller machine it is the figure that stays comparable, where the wall time depends on the load.
cpu_ticks() {
  local stat
  read -r stat </proc/$$/stat
  read -ra stat <<<"${stat##*) }"
  echo $((stat[13] + stat[14]))
}
ticks_per_second=$(getconf CLK_TCK)
clock() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }
cpu_clock() { clock $((($1 + ticks_per_second / 2) / ticks_per_second)); }
summary=()
start_wall=$SECONDS start_cpu=$(cpu_ticks)
report() {
  local line
  echo
  printf '%-16s %-16s %9s %9s\n' stage result wall cpu
  for line in "${summary[@]}"; do echo "$line"; done
  printf '%-16s %-16s %9s %9s\n' total "" "$(clock $((SECONDS - start_wall)))" \
    "$(cpu_clock $(($(cpu_ticks) - start_cpu)))"
}
trap report EXIT

# stage <name> <command...>: runs the command and records its line of the summary; a failing build
# stops the script (the summary still shows how far it came), a failing test stage only marks it.
stage() {
  local name=$1 wall=$SECONDS cpu rc=0 result
  cpu=$(cpu_ticks)
  shift
  "$@" || rc=$?
  result=$([[ $rc -eq 0 ]] && echo passed || echo FAILED)
  [[ -z "${tests_line:-}" ]] || result="$result $tests_line"
  summary+=("$(printf '%-16s %-16s %9s %9s' "$name" "$result" "$(clock $((SECONDS - wall)))" \
    "$(cpu_clock $(($(cpu_ticks) - cpu)))")")
  tests_line=""
  return $rc
}
# run_ctest <folder> <ctest arguments...>: the last lines of ctest's output; the summary names the count.
run_ctest() {
  local dir=$1 out rc=0
  shift
  out=$(cd "$dir" && ctest -j "$jobs" --output-on-failure "$@" 2>&1) || rc=$?
  tail -n 40 <<<"$out"
  tests_line=$(grep -Eo 'out of [0-9]+' <<<"$out" | tail -n 1 | sed 's/out of /(/; s/$/)/' || true)
  return $rc
}

stage configure cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
stage build cmake --build build -j "$jobs"
status=0
stage tests run_ctest build || status=$?

# Every folder that builds joins the sanitizer build by itself; a report fails its test. The sanitizer
# trees are compiled with clang, which compiles instrumented code in about two thirds of GCC's time.
sanitizer_cxx=-DCMAKE_CXX_COMPILER=clang++
stage "asan configure" cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Release "$sanitizer_cxx" \
  -DVSP_CORE_ONLY=OFF -DVSP_SANITIZE=ON -DVSP_BENCH=OFF >/dev/null
stage "asan build" cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
status_asan=0
stage "asan tests" run_ctest build-asan -E '^e2e[.]' || status_asan=$?

# ThreadSanitizer: only the two test programs, and only the pool's and the solver's tests (the realistic
# model's bit comparison, seconds long without the sanitizer, stays in the normal run); a report fails.
stage "tsan configure" cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Release "$sanitizer_cxx" \
  -DVSP_CORE_ONLY=ON -DVSP_TSAN=ON >/dev/null
stage "tsan build" cmake --build build-tsan -j "$jobs" --target test_platform_rtl test_core
solver_tests='^(ThreadPool|SolverThreads|ForwardEntry|ForwardPhysics|Misfit|ProgressGauge|BoundaryNumbering|ElectrodePlacement|ElectrodeFactors|UsedElectrodes|ElementKernel|Inversion|QRDecompose|QRSolve|TDenseMatrix|Sensitivities|SampleSurvey|SurfacePotential)\.'
status_tsan=0
TSAN_OPTIONS=halt_on_error=1 stage "tsan tests" run_ctest build-tsan --no-tests=error -R "$solver_tests" \
  -E 'Realistic' || status_tsan=$?

passed() { [[ $1 -eq 0 ]] && echo passed || echo FAILED; }
echo "tests: $(passed $status); sanitizer tests: $(passed $status_asan); thread sanitizer tests: $(passed $status_tsan)"
[[ $status -eq 0 && $status_asan -eq 0 && $status_tsan -eq 0 ]]
