#!/usr/bin/env bash
# Plays one recorded game of tests/replays headless and holds it to its end: the replay must
# play back to the end it recorded (status 0) with the line its .txt file expects.
# Usage: check_replay.sh NAME VELMOOR SOURCE_DIR
set -euo pipefail
name="$1" velmoor="$2" source_dir="$3"
replays="$source_dir/tests/replays"
map="$(sed -n 's/^map: //p' "$replays/$name.txt")"
expect="$(sed -n 's/^expect: //p' "$replays/$name.txt")"
# The game reads its tile properties from ../Common/: the repo's own.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/run"
ln -s "$source_dir/Common" "$work/Common"
status=0
line="$(cd "$work/run" && "$velmoor" --replay "$replays/$name.replay" --headless --map "$replays/$map.tmx")" || status=$?
[ "$status" = 0 ] || { echo "FAIL: status $status: $line"; exit 1; }
[ "$line" = "$replays/$name.replay: $expect" ] || { echo "FAIL: $line, expected: $expect"; exit 1; }
echo "PASS: $line"
