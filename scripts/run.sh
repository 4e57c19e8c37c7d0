#!/usr/bin/env bash
# Installs what is missing, builds the app and runs its main job headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVA_BUILD_TESTS=OFF -DQVA_BUILD_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target quovana
exec build/tools/quovana "$@"
