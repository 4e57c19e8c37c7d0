#!/usr/bin/env bash
# The standalone check on a small project of its own: a file that uses a
# name whose include only an earlier file of its unity batch makes compiles
# in the batch and fails the check, named; with the include it passes, the
# files sharing their first header (read precompiled) included.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts" "$tree/src"
cp "$here/scripts/check-standalone.sh" "$tree/scripts/"
cat >"$tree/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(Standalone LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
option(QVA_UNITY_BUILD "" OFF)
set(CMAKE_UNITY_BUILD ${QVA_UNITY_BUILD})
add_library(parts STATIC src/Ahead.cpp src/Behind.cpp src/One.cpp src/Two.cpp src/Three.cpp)
EOF
printf '#include <map>\nint ahead() { return std::map<int, int>{{1, 2}}.at(1); }\n' >"$tree/src/Ahead.cpp"
printf '#include <string>\nint behind() { return int(std::map<int, int>{{3, 4}}.size()); }\n' >"$tree/src/Behind.cpp"
for part in One Two Three; do
  printf '// %s\n#include <string>\nstd::string %s() { return "%s"; }\n' "$part" "$part" "$part" >"$tree/src/$part.cpp"
done

fail() { echo "check-standalone-test: $*"; exit 1; }

cmake -S "$tree" -B "$tree/unity" -DQVA_UNITY_BUILD=ON >/dev/null
cmake --build "$tree/unity" >/dev/null 2>&1 || fail "the unity build did not hide the missing include"

if out=$("$tree/scripts/check-standalone.sh" "$tree/check" 2>&1); then fail "a file missing an include passed: $out"; fi
[[ $out == *"src/Behind.cpp does not compile on its own"* ]] || fail "the file was not named: $out"
[[ $out != *"src/Ahead.cpp"* && $out != *"src/One.cpp"* ]] || fail "a whole file was named: $out"

sed -i '1i #include <map>' "$tree/src/Behind.cpp"
out=$("$tree/scripts/check-standalone.sh" "$tree/check" 2>&1) || fail "whole files failed: $out"
[[ $out == *"5 files parsed"*"first headers precompiled: 1"* ]] || fail "the shared first header was not precompiled: $out"
echo "check-standalone-test: passed"
