#!/usr/bin/env bash
# Checks that every source file of ours compiles on its own, not only inside
# its unity batch: a batch joins sixteen files into one unit, so a file that
# forgets an include still compiles there when an earlier file of its batch
# made the include (or declared the name, or opened its namespace). Parses
# each file alone (-fsyntax-only, no code generated) with the flags of a
# file-by-file configure; prints each file that fails with its first errors
# and fails.
#   scripts/check-standalone.sh [BUILD_DIR]   (default: build-standalone)
# QVA_JOBS sets the parallelism (default: all cores).
#
# The one sharing allowed: files that begin with the same header (most tests
# begin with <gtest/gtest.h>) under the same flags read it precompiled, given
# ahead of the file. Only where the file has nothing but comments before that
# include: the header is then read from the same clean start as the file's
# own include would read it, so nothing a file fails to include becomes
# visible to it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build-standalone}
jobs=${QVA_JOBS:-$(nproc)}
start=$SECONDS

# Configured, never built: the compile commands are all this needs. Release
# without the demo accounts, as users build it; the CI's unity build compiles
# the other side of those switches.
mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQVA_UNITY_BUILD=OFF \
  -DQVA_BUILD_TESTS=ON -DQVA_BUILD_BENCH=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$build/standalone-configure.log" 2>&1 ||
  { cat "$build/standalone-configure.log"; exit 1; }
build=$(cd "$build" && pwd)
pchroot=$build/standalone-pch
rm -rf "$pchroot"
mkdir -p "$pchroot"

# Each file of this tree: its directory, the file, its command (as CMake
# wrote it, escaped for the shell), NUL-ended.
entries=()
while IFS= read -r -d '' field; do entries+=("$field"); done < <(
  jq -j --arg root "$root/" '.[]
    | select(.file | startswith($root))
    | select(.file | ltrimstr($root) | test("^(src|platform|tools|tests|bench|resources)/"))
    | .directory, "\u0000", .file, "\u0000", .command, "\u0000"' "$build/compile_commands.json")
count=$((${#entries[@]} / 3))
[[ $count -gt 0 ]] || { echo "check-standalone: no source files in $build/compile_commands.json"; exit 1; }

# The parse command of each file (its compile command without -c and -o),
# and the files grouped by flags and first include.
declare -a parse firstinc argv
declare -A groupsize groupid
for ((n = 0; n < count; n++)); do
  command=${entries[3 * n + 2]} file=${entries[3 * n + 1]}
  eval "argv=($command)"
  out=()
  for ((i = 0; i < ${#argv[@]}; i++)); do
    case ${argv[i]} in
      -o) i=$((i + 1)) ;;
      -c) ;;
      "$file") ;;
      *) out+=("${argv[i]}") ;;
    esac
  done
  parse[n]=$(printf '%q ' "${out[@]}")
  # The first include, where only comments and blank lines precede it.
  first=$(awk '
    /^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]/ {
      sub(/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]/, ""); sub(/[>"].*/, ""); print; exit
    }
    /^[[:space:]]*(\/\/.*)?$/ { next }
    { exit }' "$file")
  # Read beside the file, the header is not the one the flags would find.
  [[ -n $first && -e $(dirname "$file")/$first ]] && first=
  firstinc[n]=$first
  [[ -n $first ]] && groupsize["${parse[n]}|$first"]=$((${groupsize["${parse[n]}|$first"]:-0} + 1))
done

# A header begun by three files or more is precompiled for them, with their
# flags; the compiler reads a precompiled header only when its flags match
# and otherwise reads the header's text.
tasks=$(mktemp)
trap 'rm -f "$tasks"' EXIT
pchjobs=()
next=0
for key in "${!groupsize[@]}"; do
  ((${groupsize[$key]} >= 3)) || continue
  stub=$pchroot/$next.h
  next=$((next + 1))
  groupid[$key]=$stub
  printf '#include <%s>\n' "${key##*|}" >"$stub"
  pchjobs+=("cd / && ${key%|*} -x c++-header $(printf '%q' "$stub") -o $(printf '%q' "$stub.gch")")
done
if ((${#pchjobs[@]})); then
  # A header that fails to precompile leaves its files to read it whole.
  printf '%s\0' "${pchjobs[@]}" | xargs -0 -n 1 -P "$jobs" bash -c 'eval "$1" 2>/dev/null || true' _
fi

for ((n = 0; n < count; n++)); do
  cmd=${parse[n]}
  key="${parse[n]}|${firstinc[n]}"
  if [[ -n ${firstinc[n]} && -n ${groupid[$key]:-} && -f ${groupid[$key]}.gch ]]; then
    cmd+=" -include $(printf '%q' "${groupid[$key]}")"
  fi
  printf '%s\0%s\0%s\0' "${entries[3 * n]}" "${entries[3 * n + 1]}" "$cmd" >>"$tasks"
done

parse_one() {
  local dir=$1 file=$2 command=$3 errors
  # Warnings are the build's business; only errors count here.
  if ! errors=$(cd "$dir" && eval "$command -fsyntax-only -w $(printf '%q' "$file")" 2>&1); then
    echo "check-standalone: ${file#"$ROOT"/} does not compile on its own:"
    grep -m 5 -E 'error' <<<"$errors" || head -n 5 <<<"$errors"
    return 1
  fi
}
export -f parse_one
export ROOT=$root

failed=0
xargs -0 -a "$tasks" -n 3 -P "$jobs" bash -c 'parse_one "$@"' _ || failed=1
echo "check-standalone: $count files parsed in $((SECONDS - start)) s with $jobs jobs; first headers precompiled: ${#pchjobs[@]}"
exit $failed
