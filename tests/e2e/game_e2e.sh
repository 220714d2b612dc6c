# Xvfb screen: 1280x720x24
# A player's run in a real window, driven by real key presses: the title screen with its music
# mixed; fullscreen on a 16:9 screen that has no 800 x 600 mode, letterboxed, and back; a game won
# by eating, its end screen left with a key for the title; closing the window as a window manager
# would ends the game with exit status 0. (A game lost to the hunter's two shots is a recorded
# replay, tests/replays/killed, played headless without waiting for him.)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# A 13 x 9 map of snow: the deer starts with its head on grass at row 4, column 6, and two more
# tufts lie about, so eating one wins.
write_map 13 9  1 4 6 21  1 1 1 22  1 7 11 23  3 4 6 20  3 4 9 84

start_game
# The title music is mixed: the mixer's output, past its first half second, is not silence.
music_mixed() { [ "$(head -c 500000 "$WORK/audio.raw" | tail -c +100001 | tr -d '\0' | wc -c)" -gt 1000 ]; }
until_true 20 music_mixed || fail "the title music is silent"

# F4: the title scaled to the screen's height, 960 x 720, between black bars.
windowed="$(shot windowed)"
convert "$windowed" -sample 960x720 -background black -gravity center -extent 1280x720 "$WORK/letterboxed.png"
letterboxed() {
  import -window root "$WORK/shots/full.png" && [ "$(differing_pixels "$WORK/shots/full.png" "$WORK/letterboxed.png")" -lt 100 ]
}
press F4
until_true 10 letterboxed || fail "fullscreen is not the title letterboxed to 960 x 720 (see full.png)"
press F4
windowed_again() {
  [ "$(xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p')" = 800x600 ] &&
    [ "$(differing_pixels "$(shot back)" "$windowed")" -lt 100 ]
}
until_true 10 windowed_again || fail "the second F4 did not bring back the same 800 x 600 window"

# A game won: eat and confirm are Return; 28 frames lower the head, 165 eat the tile, and the
# victory image follows a second later. Key-ups do not leave the end screen, a key-down does.
# A game discards the keys pressed before its first frame: wait for that frame.
playing() { colour="$(pixel "$(shot game)" 230 223)" && [ "$colour" != "255,45,0" ]; }
press Return
until_true 10 playing || fail "Return on the title did not start a game"
xdotool keydown Return
until_true 40 showing Win.png || fail "holding the eat key on the grass did not win the game"
xdotool keyup Return
press space
until_true 10 frame_on 223 || fail "the title screen did not return after the victory"

close_game
echo "PASS"
