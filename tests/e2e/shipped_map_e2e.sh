# On the shipped map: the deer walks east from its clearing and the camera follows it, stops
# flush at a trunk, walks north to the next trunk, east again to the tuft of grass at row 22,
# column 28 or 29, and eats it: the tile vanishes from the screen.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_game
press Return
sleep 1
before="$(shot start)"

# Row 23 is free from the start (column 10) to a trunk at column 26: 18 cells, about 5 s of walking.
press Right 7
walked="$(shot walked)"
# The camera follows: the world moved under the deer, which is still drawn in the middle.
moved="$(differing_pixels "$before" "$walked")"
[ "$moved" -gt 100000 ] || fail "the view did not scroll with the deer ($moved pixels changed)"
centre="$(differing_pixels_in "$before" "$walked" 40x40+380+260)"
[ "$centre" -lt 1000 ] || fail "the deer is no longer in the middle of the view ($centre pixels changed)"

press Up 1.2      # flush under the trunk at row 21, column 25: the feet stand in row 22
press Right 0.95  # the head comes over the grass at column 28 or 29
sleep 0.5
at_grass="$(shot at-grass)"
green_before="$(green_pixels "$at_grass")"
[ "$green_before" -gt 500 ] || fail "no grass in view where the map has it ($green_before green pixels)"

press Return 6    # 28 frames to lower the head, 165 to eat
eaten="$(shot eaten)"
green_after="$(green_pixels "$eaten")"
[ $((green_before - green_after)) -gt 150 ] ||
  fail "the eaten tile did not vanish (green pixels $green_before before, $green_after after)"
close_game
[ "$STATUS" = 0 ] || fail "closing the window gave exit status $STATUS"
echo "PASS"
