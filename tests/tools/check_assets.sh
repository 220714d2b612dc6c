#!/bin/bash
# Regenerates the media into a temporary folder and fails unless every file equals the one in Common/.
# Usage: check_assets.sh <make_assets executable> <Common directory>
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 <make_assets> <Common dir>" >&2
  exit 2
fi
generator=$1
common=$2

scratch=$(mktemp -d) || { echo "check_assets: cannot make a temporary folder" >&2; exit 1; }
trap 'rm -rf "$scratch"' EXIT

if ! "$generator" "$scratch" >"$scratch/.log" 2>&1; then
  echo "check_assets: $generator failed:" >&2
  cat "$scratch/.log" >&2
  exit 1
fi
rm -f "$scratch/.log"

status=0
count=0
for made in "$scratch"/*; do
  [ -e "$made" ] || continue
  name=$(basename "$made")
  count=$((count + 1))
  if [ ! -f "$common/$name" ]; then
    echo "check_assets: $name is made by the generator but missing from $common" >&2
    status=1
  elif ! cmp -s "$made" "$common/$name"; then
    echo "check_assets: $name in $common differs from what the generator makes (rerun make_assets $common)" >&2
    status=1
  fi
done
if [ "$count" -eq 0 ]; then
  echo "check_assets: the generator wrote no files" >&2
  exit 1
fi
# Media in Common/ that the generator no longer makes are stale.
for kept in "$common"/*.png "$common"/*.wav "$common"/*.mid; do
  [ -e "$kept" ] || continue
  name=$(basename "$kept")
  if [ ! -e "$scratch/$name" ]; then
    echo "check_assets: $name in $common is not made by the generator" >&2
    status=1
  fi
done
if [ "$status" -eq 0 ]; then
  echo "check_assets: all $count media files match"
fi
exit $status
