#!/usr/bin/env bash
# The include checker on a small tree of its own: the allowed arrows pass; a
# new arrow between screen folders, or a page whose table differs from the
# allow-list, fails and is named.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts" "$tree/src/lists" "$tree/src/maps" "$tree/docs"
cp "$here/scripts/check-includes.sh" "$here/scripts/screen-layers.txt" "$tree/scripts/"
printf '#include "app/BaseViewController.h"\n#include "model/QVAEvent.h"\n' >"$tree/src/lists/Allowed.cpp"
{ echo "# Architecture"; echo; "$tree/scripts/check-includes.sh" --table; echo; } >"$tree/docs/ARCHITECTURE.md"

fail() { echo "check-includes-test: $*"; exit 1; }

"$tree/scripts/check-includes.sh" "$tree" >/dev/null || fail "allowed includes were refused"

printf '#include "people/ParticipantCell.h"\n' >"$tree/src/maps/NewArrow.cpp"
if out=$("$tree/scripts/check-includes.sh" "$tree"); then fail "a new arrow maps -> people passed"; fi
[[ $out == *"src/maps/NewArrow.cpp:1: maps/ may not include people/"* ]] || fail "the new arrow was not named: $out"
rm "$tree/src/maps/NewArrow.cpp"

# The same arrow in the other forms an include may take, and a path up
# through "..", which is refused whatever folder it reaches.
printf '#include <people/ParticipantCell.h>\n' >"$tree/src/maps/Angled.cpp"
printf '#  include "people/ParticipantCell.h"\n' >"$tree/src/maps/Spaced.cpp"
printf '#include "../people/ParticipantCell.h"\n' >"$tree/src/maps/Up.cpp"
printf '#include "../lists/ListCell.h"\n' >"$tree/src/maps/UpAllowed.cpp"
if out=$("$tree/scripts/check-includes.sh" "$tree"); then fail "includes in other forms passed"; fi
[[ $out == *"src/maps/Angled.cpp:1: maps/ may not include people/"* ]] || fail "the angled include was not named: $out"
[[ $out == *"src/maps/Spaced.cpp:1: maps/ may not include people/"* ]] || fail "the spaced include was not named: $out"
[[ $out == *"src/maps/Up.cpp:1: maps/ may not include through .."* ]] || fail "the include through .. was not named: $out"
[[ $out == *"src/maps/UpAllowed.cpp:1: maps/ may not include through .."* ]] || fail "an allowed folder through .. passed: $out"
rm "$tree/src/maps/Angled.cpp" "$tree/src/maps/Spaced.cpp" "$tree/src/maps/Up.cpp" "$tree/src/maps/UpAllowed.cpp"

sed -i 's/^maps .*/maps         app lists people programme/' "$tree/scripts/screen-layers.txt"
if out=$("$tree/scripts/check-includes.sh" "$tree"); then fail "a page with an old table passed"; fi
[[ $out == *"the layers table differs"* ]] || fail "the old table was not named: $out"
echo "check-includes-test: passed"
