# Xvfb screen: 1280x720x24
# Fullscreen on a 16:9 screen without an 800 x 600 mode (and without a window manager): F4 scales
# the whole title picture to the screen's height, 960 x 720 centred, with black bars beside it;
# F4 again brings back the same 800 x 600 window, and closing it exits with status 0.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# Counts the pixels of a region WxH+X+Y of an image that are not black.
lit_pixels() {
  convert "$1" -crop "$2" +repage -fx '(r + g + b > 0.03) ? 1 : 0' -format '%[fx:int(mean * w * h + 0.5)]' info:
}

start_game
windowed="$(shot windowed)"
press F4
sleep 1
full="$WORK/shots/fullscreen.png"
import -window root "$full"
for bar in 160x720+0+0 160x720+1120+0; do
  lit="$(lit_pixels "$full" "$bar")"
  [ "$lit" = 0 ] || fail "the bar $bar beside the picture is not black ($lit lit pixels)"
done
convert "$full" -crop 960x720+160+0 +repage "$WORK/shots/picture.png"
convert "$windowed" -sample 960x720 "$WORK/shots/windowed-scaled.png"
diff="$(differing_pixels "$WORK/shots/picture.png" "$WORK/shots/windowed-scaled.png")"
[ "$diff" -lt 100 ] || fail "the picture is not the title scaled to 960 x 720 ($diff pixels differ)"

press F4
sleep 1
geometry="$(xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p')"
[ "$geometry" = 800x600 ] || fail "back from fullscreen the window is $geometry"
diff="$(differing_pixels "$(shot back)" "$windowed")"
[ "$diff" -lt 100 ] || fail "the windowed picture changed after fullscreen ($diff pixels differ)"
close_game
[ "$STATUS" = 0 ] || fail "closing the window gave exit status $STATUS"
echo "PASS"
