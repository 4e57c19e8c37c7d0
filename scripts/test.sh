#!/usr/bin/env bash
# Installs what is missing, builds the tests under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them all, then builds the fuzz targets
# and replays their inputs; beside all that, checks that every source
# compiles on its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The screen folders include each other only as scripts/screen-layers.txt allows.
scripts/check-includes.sh
# Every source file compiles on its own, not only inside its unity batch
# (which the build below compiles). The check runs beside the build and the
# tests at the lowest priority, so it mostly takes the time they leave a core
# idle (a test waiting on its loopback service, a lone link); the run waits
# for it at the end and fails, naming the file, if it failed. It stays in the
# run's process group (a hard stop of the run stops its compilers too) and
# session (the kernel's per-session scheduling groups would otherwise give it
# half the machine whatever its priority). Its status lands in a file when it
# ends, so an early exit of the run stops it only while it still runs, and
# shows its log whenever it failed.
standalone_log=$(mktemp)
standalone_status=$standalone_log.status
(
  status=0
  nice -n 19 scripts/check-standalone.sh >"$standalone_log" 2>&1 || status=$?
  echo "$status" >"$standalone_status"
) &
standalone=$!
stop_tree() {
  local child
  for child in $(pgrep -P "$1" 2>/dev/null); do stop_tree "$child"; done
  kill "$1" 2>/dev/null || true
}
standalone_end() {
  if [ ! -e "$standalone_status" ]; then
    stop_tree "$standalone"
  elif [ "$(cat "$standalone_status")" != 0 ]; then
    cat "$standalone_log"
  fi
  rm -f "$standalone_log" "$standalone_status"
}
trap standalone_end EXIT
# QVA_JOBS limits the build's parallelism (default: all cores).
JOBS=${QVA_JOBS:-$(nproc)}
BUILD=${QVA_TEST_BUILD_DIR:-build-asan}
# A unity build: a clean build (as in CI) compiles the sources in batches.
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DQVA_SANITIZE=ON -DQVA_BUILD_BENCH=OFF -DQVA_UNITY_BUILD=ON
cmake --build "$BUILD" -j"$JOBS"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS" --timeout 300
# QVA_WHOLE_BINARIES=1 also runs each test binary once whole, all its tests in
# one process, so a test that leaves the process changed for the next fails.
# Off by default: on two cores it would take CI past 40 minutes (the app's
# tests alone run five minutes in one process, the fuzz replay ten).
if [ "${QVA_WHOLE_BINARIES:-0}" = 1 ]; then
  find "$BUILD" -maxdepth 2 -name 'test_*' -type f -executable -print0 |
    xargs -0 -P"$JOBS" -I{} sh -c '"$1" --gtest_brief=1 > "$1.whole.log" 2>&1 || { tail -n 60 "$1.whole.log"; exit 255; }' sh {}
fi
# Every fuzz target builds and replays its seeds and regression inputs.
scripts/fuzz-replay.sh
wait "$standalone" || true
status=$(cat "$standalone_status" 2>/dev/null || echo 1)
# A passing check's log is its one summary line; a failing one's is printed
# by standalone_end.
[ "$status" = 0 ] && cat "$standalone_log"
exit "$status"
