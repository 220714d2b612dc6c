# The shipped level and the options around it. The map checker passes the level clean, from the
# game's working folder and from any other, and a bad option stops with one line, neither opening
# a window. In the game the deer walks east from its start until a spruce stops it (the camera
# following), then north until the small spruce among the bushes stops it with its head over the
# tuft at (13, 13), and eats it: the tuft vanishes from the screen. --map then plays a map from
# outside Common/.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

check="$(cd "$WORK/run" && timeout 20 "$VELMOOR" --check-map ../Common/map00000.tmx)" ||
  fail "the map checker refuses the shipped level: $check"
[ "$check" = "../Common/map00000.tmx: no problems" ] || fail "the map checker printed: $check"
# From a folder with no ../Common, the checker finds the music beside the properties given, and
# without them the game's data folder beside the executable's.
mkdir -p "$WORK/elsewhere/deep"
map="$WORK/Common/map00000.tmx"
check="$(cd "$WORK/elsewhere/deep" && timeout 20 "$VELMOOR" --check-map "$map" --properties "$WORK/Common/properties.tmx")" ||
  fail "from another folder, the map checker refuses the shipped level: $check"
[ "$check" = "$map: no problems" ] || fail "from another folder, the map checker printed: $check"
if [ -f "$(dirname "$VELMOOR")/../Common/properties.tmx" ]; then
  check="$(cd "$WORK/elsewhere/deep" && timeout 20 "$VELMOOR" --check-map "$map")" ||
    fail "from another folder, without properties given, the map checker refuses the shipped level: $check"
  [ "$check" = "$map: no problems" ] || fail "from another folder, without properties given, the checker printed: $check"
fi
status=0
out="$(cd "$WORK/run" && timeout 20 "$VELMOOR" --mpa x.tmx)" || status=$?
[ "$status" = 2 ] && [ "$(wc -l <<< "$out")" = 1 ] || fail "a bad option gave status $status and: $out"

start_game
press Return
sleep 1
before="$(shot start)"
# Row 15 is free from the start (column 5) to a spruce at column 13: a 3 s walk, held longer for slow frames.
press Right 8
walked="$(shot walked)"
moved="$(differing_pixels "$before" "$walked")"
[ "$moved" -gt 100000 ] || fail "the view did not scroll with the deer ($moved pixels changed)"
press Up 4 # flush under the spruce at (12, 12): the head over the tuft at (13, 13)
sleep 0.5
# With the camera centred on the deer, the tuft's cell is this square of the screen.
convert "$(shot at-grass)" -crop 64x64+413+310 +repage "$WORK/tuft-before.png"
green_before="$(green_pixels "$WORK/tuft-before.png")"
[ "$green_before" -gt 300 ] || fail "no tuft where the deer's head is ($green_before green pixels)"
tuft_gone() { convert "$(shot eaten)" -crop 64x64+413+310 +repage "$1" && [ "$(green_pixels "$1")" -lt 50 ]; }
xdotool keydown Return # 28 frames to lower the head, 165 to eat: about 5 s
until_true 30 tuft_gone "$WORK/tuft-after.png" || fail "the eaten tuft did not vanish ($green_before green pixels, then $(green_pixels "$WORK/tuft-after.png"))"
xdotool keyup Return
close_game

# On this map outside Common/ the deer starts with its head over a tuft: the eat hint shows at once.
write_map 13 9 1 4 6 21 3 4 6 20
mv "$WORK/Common/map00000.tmx" "$WORK/elsewhere.tmx"
start_game --map "$WORK/elsewhere.tmx"
press Return
sleep 1
[ "$(pixel "$(shot elsewhere)" 362 41)" = "0,0,0" ] || fail "--map did not play the map given"
close_game
echo "PASS"
