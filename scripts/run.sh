#!/usr/bin/env bash
# Installs what is missing, builds the app and runs its main job headless.
# With no arguments: "quovana demo" (the local service with the demo
# meeting, the full download, a delta, a summary) into the application home
# quovana uses when given none (QVA_HOME, else $XDG_DATA_HOME/quovana, else
# ~/.local/share/quovana), so that later commands such as "scripts/run.sh
# load" find its meeting; then the app itself on that home, driven by
# tools/samples/home-tour.txt on the meeting's second morning, its screens
# printed as text and saved as pictures in the home's "shots" folder.
# Otherwise the quovana command given, on that same home unless its options
# name another (quovana alone gives "app" and "demo" a fresh one).
# It builds in the checkout but runs in the folder it was started from, so
# that the paths a person gives (a plan, --png, --script, --home) are theirs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# A command's standard output is its own (scripts/run.sh dump ... > rows.json):
# the check of the packages and the build's progress go to standard error.
if [ $# -gt 0 ]; then exec 3>&1 1>&2; fi
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVA_BUILD_TESTS=OFF -DQVA_BUILD_BENCH=OFF >/dev/null
# QVA_JOBS limits the build's parallelism (default: all cores).
cmake --build "$root/build" -j"${QVA_JOBS:-$(nproc)}" --target quovana
home=${QVA_HOME:-${XDG_DATA_HOME:-${HOME:-.}/.local/share}/quovana}
if [ $# -gt 0 ]; then
  # quovana's own options come before the command, each with its value.
  given=("$@")
  i=0
  while [ "$i" -lt "${#given[@]}" ]; do
    case ${given[i]} in
      --home) exec "$root/build/tools/quovana" "$@" 1>&3 3>&- ;;
      --service | --languages | --answer) i=$((i + 2)) ;;
      *) break ;;
    esac
  done
  exec "$root/build/tools/quovana" --home "$home" "$@" 1>&3 3>&-
fi
"$root/build/tools/quovana" --home "$home" demo
mkdir -p "$home/shots"
status=0
"$root/build/tools/quovana" --home "$home" app --clock 2026-06-16T10:00:00+02:00 --shots "$home/shots" \
    --script "$root/tools/samples/home-tour.txt" || status=$?
echo
echo "application home: $home (the tour's pictures: $home/shots)"
exit "$status"
