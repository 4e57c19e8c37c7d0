#!/usr/bin/env bash
# Installs what is missing, builds the app and runs its main job headless:
# "quovana demo" with no arguments, otherwise the quovana command given.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVA_BUILD_TESTS=OFF -DQVA_BUILD_BENCH=OFF >/dev/null
# QVA_JOBS limits the build's parallelism (default: all cores).
cmake --build build -j"${QVA_JOBS:-$(nproc)}" --target quovana
if [ $# -eq 0 ]; then set -- demo; fi
exec build/tools/quovana "$@"
