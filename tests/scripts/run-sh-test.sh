#!/usr/bin/env bash
# scripts/run.sh given a command, on a copy whose install, build and program
# are stand-ins: the program is run on the default home unless its options
# name another, the app mode included (which alone would take a fresh one),
# and its standard output is the program's alone; the build is the
# checkout's, while the program runs in the folder the person is in, so that
# the paths they give are theirs.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts" "$tree/build/tools" "$tree/bin" "$tree/home"
cp "$here/scripts/run.sh" "$tree/scripts/"
# The stand-ins talk as the real ones do; none of it may reach the command's
# own output.
printf '#!/bin/sh\necho "install-deps: all packages present"\n' >"$tree/scripts/install-deps.sh"
printf '#!/bin/sh\nprintf "%%s|" "$@" >>"%s/cmake-args"\necho "[100%%] Built target quovana"\n' "$tree" >"$tree/bin/cmake"
printf '#!/bin/sh\npwd >"%s/quovana-folder"\nprintf "%%s|" "$@"\n' "$tree" >"$tree/build/tools/quovana"
chmod +x "$tree/scripts/install-deps.sh" "$tree/bin/cmake" "$tree/build/tools/quovana"

fail() { echo "run-sh-test: $*"; exit 1; }
run() { env -u QVA_HOME -u XDG_DATA_HOME HOME="$tree/home" PATH="$tree/bin:$PATH" "$tree/scripts/run.sh" "$@"; }

default=$tree/home/.local/share/quovana
out=$(run app --clock 2026-06-16T10:00:00+02:00)
[[ $out == "--home|$default|app|--clock|2026-06-16T10:00:00+02:00|" ]] || fail "app not on the default home: $out"
out=$(run --service http://127.0.0.1:9/api load)
[[ $out == "--home|$default|--service|http://127.0.0.1:9/api|load|" ]] || fail "load not on the default home: $out"
out=$(run --service http://127.0.0.1:9/api --home /elsewhere app)
[[ $out == "--service|http://127.0.0.1:9/api|--home|/elsewhere|app|" ]] || fail "the home named was not kept: $out"
out=$(env -u XDG_DATA_HOME QVA_HOME=/q HOME="$tree/home" PATH="$tree/bin:$PATH" "$tree/scripts/run.sh" app)
[[ $out == "--home|/q|app|" ]] || fail "QVA_HOME was not the default home: $out"

mkdir -p "$tree/elsewhere"
rm -f "$tree/cmake-args"
out=$(cd "$tree/elsewhere" && run svg myplan.svg --png out.png)
[[ $out == "--home|$default|svg|myplan.svg|--png|out.png|" ]] || fail "svg not given its paths: $out"
[[ $(cat "$tree/quovana-folder") == "$tree/elsewhere" ]] ||
  fail "quovana ran in $(cat "$tree/quovana-folder"), not where run.sh was started"
[[ $(cat "$tree/cmake-args") == "-S|$tree|-B|$tree/build|"* ]] || fail "not built in the checkout: $(cat "$tree/cmake-args")"
out=$(cd "$tree/elsewhere" && run --home myhome app --script tour.txt)
[[ $out == "--home|myhome|app|--script|tour.txt|" && $(cat "$tree/quovana-folder") == "$tree/elsewhere" ]] ||
  fail "a relative home or script is not taken from where run.sh was started: $out"
# Without a command: the demo, then the tour, which is the checkout's.
out=$(cd "$tree/elsewhere" && run)
[[ $out == *"app|--clock|2026-06-16T10:00:00+02:00|--shots|$default/shots|--script|$tree/tools/samples/home-tour.txt|"* ]] ||
  fail "the tour is not the checkout's: $out"
echo "run-sh-test: passed"
