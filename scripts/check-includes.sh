#!/usr/bin/env bash
# Checks the includes between the screen folders of src/ against
# scripts/screen-layers.txt, and that the layers table of
# docs/ARCHITECTURE.md is that table. Prints each include outside it (in
# any form: angled or quoted, spaced after the '#') and each include through
# ".." in a screen folder, and fails.
#   scripts/check-includes.sh [ROOT]      check the tree at ROOT (default: this one)
#   scripts/check-includes.sh --table     print the table as the page shows it
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=check
if [[ ${1:-} == --table ]]; then
  mode=table
elif [[ -n ${1:-} ]]; then
  root=$(cd "$1" && pwd)
fi
layers="$root/scripts/screen-layers.txt"

declare -A allowed
folders=()
while read -r folder rest; do
  [[ -z $folder || $folder == \#* ]] && continue
  folders+=("$folder")
  allowed[$folder]=" $rest "
done <"$layers"

table() {
  echo "| folder | may include |"
  echo "|---|---|"
  for folder in "${folders[@]}"; do
    local list
    list=$(echo ${allowed[$folder]} | sed 's/ /, /g')
    echo "| \`$folder/\` | ${list:-—} |"
  done
}

if [[ $mode == table ]]; then
  table
  exit 0
fi

failed=0
# Every form of include: spaces around the '#' (or its digraph), either
# delimiter. A path through ".." is refused outright: it would reach any
# folder without naming it first.
include_re='^[[:space:]]*(#|%:)[[:space:]]*include[[:space:]]*[<"]'
for folder in "${folders[@]}"; do
  [[ -d $root/src/$folder ]] || continue
  while IFS=: read -r file line text; do
    path=$(sed -E 's@^[[:space:]]*(#|%:)[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"]?.*@\2@' <<<"$text")
    where="${file#"$root"/}:$line"
    if [[ /$path/ == */../* ]]; then
      echo "$where: $folder/ may not include through .. ($path); name the folder"
      failed=1
      continue
    fi
    target=${path%%/*}
    [[ $path == */* && -n ${allowed[$target]+set} ]] || continue
    [[ $target == "$folder" || ${allowed[$folder]} == *" $target "* ]] && continue
    echo "$where: $folder/ may not include $target/ (scripts/screen-layers.txt)"
    failed=1
  done < <(grep -rnE "$include_re" "$root/src/$folder" || true)
done

doc="$root/docs/ARCHITECTURE.md"
if [[ -f $doc ]]; then
  expected=$(table)
  shown=$(sed -n '/^| folder | may include |$/,/^$/p' "$doc" | sed '/^$/d')
  if [[ $shown != "$expected" ]]; then
    echo "docs/ARCHITECTURE.md: the layers table differs from scripts/screen-layers.txt; it reads:"
    echo "$expected"
    failed=1
  fi
fi
exit $failed
