#!/usr/bin/env bash
# Builds the tests under ThreadSanitizer into a folder of their own and runs
# the thread-heavy binaries: dispatch and threads (test_foundation), the
# object store (test_coredata), the HTTP library (test_http) and the app's
# two layers (test_core, test_screens). Any reported race fails the run. Not part of the usual test
# run: the instrumented build and its tests take a while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
JOBS=${QVA_JOBS:-$(nproc)}
BUILD=${QVA_TSAN_BUILD_DIR:-build-tsan}
BINARIES=(test_foundation test_coredata test_http test_core test_screens)
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DQVA_TSAN=ON -DQVA_SANITIZE=OFF -DQVA_BUILD_BENCH=OFF
cmake --build "$BUILD" -j"$JOBS" --target "${BINARIES[@]}"
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp}
failed=0
for binary in "${BINARIES[@]}"; do
  echo "tsan: $binary"
  if ! "$BUILD/$binary" --gtest_brief=1; then
    echo "tsan: $binary FAILED"
    failed=1
  fi
done
exit $failed
