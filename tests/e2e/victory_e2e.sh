# On a small map with three grass tiles, one under the deer's head at its start, holding the eat
# key eats that tile; all food but two is then eaten, so the victory image shows, a key leaves
# it, the title screen returns, and closing the window exits with status 0.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# 13 x 9 cells; deer start (layer 3) and grass (layer 1) on cell (4, 6); two more tufts.
write_map 13 9  3 4 6 20  1 4 6 21  1 1 1 22  1 7 11 23
# Eat and confirm on Left Ctrl: X repeats held keys, but not modifiers, and a repeat after the
# end screen's pause would leave it at once.
printf '\x52\0\0\x40\x51\0\0\x40\x50\0\0\x40\x4f\0\0\x40\xe5\0\0\x40\xe0\0\0\x40\xe4\0\0\x40\x3d\0\0\x40' \
  > "$WORK/Common/Settings.bin"

start_game
press Control_L                   # "Start a game"
sleep 1
s="$(shot game)"
[ "$(pixel "$s" 230 223)" != "255,45,0" ] || fail "the game did not start"
hold Control_L                    # eat: 28 frames to lower the head, 165 to eat the tile
sleep 8                           # then the end screen waits a second before it shows
release Control_L
s="$(shot victory)"
diff="$(differing_pixels "$s" "$WORK/Common/Win.png")"
[ "$diff" -lt 2000 ] || fail "the victory image is not shown ($diff pixels differ)"
press space
sleep 0.5
s="$(shot title)"
[ "$(pixel "$s" 230 223)" = "255,45,0" ] || fail "the title screen did not return after the victory"
close_game
[ "$STATUS" = 0 ] || fail "closing the window gave exit status $STATUS"
echo "PASS"
