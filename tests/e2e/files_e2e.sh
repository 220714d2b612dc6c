# A pipe or a device given as --map is refused at once, before any window opens: one line and status
# 2. (The readers of properties.tmx and Settings.bin: tests/world/datafile_test.cpp.)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

mkfifo "$WORK/pipe.tmx"
for map in "$WORK/pipe.tmx" /dev/zero; do
  what="a pipe"
  [ "$map" != /dev/zero ] || what="a device"
  status=0
  out="$(cd "$WORK/run" && timeout 10 "$VELMOOR" --map "$map" 2>&1)" || status=$?
  [ "$status" = 2 ] && [ "$out" = "velmoor: cannot read the map $map: $what, not a file." ] ||
    fail "--map $map gave status $status (124 means it waited on it) and: $out"
done

echo "PASS"
