# The files the game reads are read only when they are regular files: a pipe or a device given as
# --map is refused at once with one line and status 2, before any window opens; a pipe in place of
# Settings.bin or properties.tmx gets one line each and the game plays on with what it has.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

mkfifo "$WORK/pipe.tmx"
for map in "$WORK/pipe.tmx" /dev/zero; do
  what="a pipe"
  [ "$map" = /dev/zero ] && what="a device"
  status=0
  out="$(cd "$WORK/run" && timeout 10 "$VELMOOR" --map "$map" 2>&1)" || status=$?
  [ "$status" != 124 ] || fail "--map $map: the game waited on it"
  [ "$status" = 2 ] && [ "$out" = "velmoor: cannot read the map $map: $what, not a file." ] ||
    fail "--map $map gave status $status and: $out"
done

mkfifo "$WORK/Common/Settings.bin"
rm "$WORK/Common/properties.tmx" && mkfifo "$WORK/Common/properties.tmx"
start_game
playing() { [ "$(pixel "$(shot game)" 230 223)" != "255,45,0" ]; }
press Return
until_true 10 playing || fail "Return on the title did not start a game: $(cat "$WORK/stdout.txt")"
close_game
grep -q "^Settings.bin is a pipe, not a file; the default keys are used." "$WORK/stdout.txt" &&
  grep -q "Error opening file properties.tmx: a pipe, not a file" "$WORK/stdout.txt" ||
  fail "the pipes were not reported: $(cat "$WORK/stdout.txt")"

echo "PASS"
