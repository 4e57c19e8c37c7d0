#!/usr/bin/env bash
# Builds every libFuzzer target (clang, into a folder of its own) and runs
# each once over its seeds and kept regression inputs, without fuzzing: a
# target that no longer links, or an old crash that comes back, fails the run.
# scripts/test.sh calls it after the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${QVA_JOBS:-$(nproc)}
BUILD=${QVA_FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DQVA_BUILD_FUZZ=ON -DQVA_BUILD_TESTS=OFF \
  -DQVA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVA_UNITY_BUILD=ON
targets=()
for source in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$BUILD" -j"$JOBS" --target "${targets[@]}"
failed=0
for target in "${targets[@]}"; do
  inputs=()
  for folder in "tests/fuzz/seeds/$target" "tests/fuzz/regressions/$target"; do
    [ -d "$folder" ] || continue
    while IFS= read -r -d '' file; do inputs+=("$file"); done < <(find "$folder" -type f -print0 | sort -z)
  done
  if [ ${#inputs[@]} -eq 0 ]; then
    echo "fuzz-replay: $target has no seeds or regression inputs"
    continue
  fi
  # Files (not folders) make libFuzzer run each input once and stop.
  if "$BUILD/tests/fuzz/$target" "${inputs[@]}" > "$BUILD/$target.replay.log" 2>&1; then
    echo "fuzz-replay: $target ${#inputs[@]} inputs"
  else
    echo "fuzz-replay: $target FAILED"
    tail -n 40 "$BUILD/$target.replay.log"
    failed=1
  fi
done
exit $failed
