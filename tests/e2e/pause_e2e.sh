# The pause in a real window, with real keys, on the shipped level: Escape holds the game (the
# frame on screen does not change, darkened under the pause box, and the sound falls silent),
# Escape again goes on (the snow falls again), and Return in the pause leaves the game for the
# title, with its music, without an end screen; the game's replay ends closed. The window losing
# the focus pauses too.
# With VELMOOR_DOCS=DIR set, it also takes the README's screenshots into DIR: the title screen, and
# the deer eating on the shipped level under the eat hint (walked there against rocks, so that
# where it stands does not depend on timing).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_game
[ -z "${VELMOOR_DOCS:-}" ] || cp "$(shot title)" "$VELMOOR_DOCS/title.png"
press Return
playing() { [ "$(pixel "$(shot game)" 230 223)" != "255,45,0" ]; }
until_true 10 playing || fail "Return on the title did not start a game"
sleep 0.5

# Mixed sound, as the disk audio driver writes it in real time: the bytes from OFFSET on, for a
# second of sound, are all zero (silent) or not.
audio_size() { stat -c %s "$WORK/audio.raw"; }
silent_from() {
  [ "$(tail -c +$(($1 + 1)) "$WORK/audio.raw" | head -c 176400 | tr -d '\0' | wc -c)" -eq 0 ]
}

# Paused: the frame stays, whatever the snow and the tracks would do meanwhile.
press Escape
sleep 0.5
paused="$(shot paused)"
from="$(audio_size)"
sleep 1.5
[ "$(differing_pixels "$(shot still)" "$paused")" -eq 0 ] || fail "the frame changed while paused (see still.png)"
[ "$(pixel "$paused" 212 531)" = "255,255,255" ] && [ "$(pixel "$paused" 210 531)" = "0,0,0" ] ||
  fail "no pause box at the bottom of the paused frame (see paused.png)"
silent_from "$from" || fail "the music and sounds went on while paused"

# Going on: the darkening goes and the snow falls again.
press Escape
sleep 0.5
going="$(shot going)"
sleep 0.5
[ "$(differing_pixels "$going" "$paused")" -gt 100000 ] || fail "Escape did not end the pause (see going.png)"
[ "$(differing_pixels "$(shot going2)" "$going")" -gt 0 ] || fail "the game stood still after the pause"
from="$(audio_size)"
sleep 1.5
silent_from "$from" && fail "the music did not come back after the pause"

# The window losing the focus pauses: focus the root window, then come back.
root="$(xdotool search --maxdepth 0 --name '' | head -n 1)"
xdotool windowfocus "$root" 2> /dev/null || true
sleep 0.5
away="$(shot away)"
sleep 0.5
[ "$(differing_pixels "$(shot away2)" "$away")" -eq 0 ] || fail "losing the focus did not pause the game"
xdotool windowfocus --sync "$WID" 2> /dev/null || true
sleep 0.3
[ "$(differing_pixels "$(shot back)" "$away")" -eq 0 ] || fail "coming back to the window ended the pause by itself"

# Leaving: Return in the pause brings the title back, with its music.
press Return
until_true 10 frame_on 223 || fail "Return in the pause did not lead back to the title"
sleep 0.5
from="$(audio_size)"
sleep 1.5
silent_from "$from" && fail "the title music did not play after leaving the game"
replay="$(ls "$WORK/Replays/"*.replay 2> /dev/null | head -n 1)"
[ -n "$replay" ] || fail "the game left from the pause wrote no replay"
(cd "$WORK/run" && "$VELMOOR" --replay "$replay" --headless) | grep -q ': closed after ' ||
  fail "the replay of the game left from the pause does not end closed"

if [ -n "${VELMOOR_DOCS:-}" ]; then
  # Right along row 15 to the rock at column 13, up to the rock at row 12: the head is over the
  # grass at column 13, row 13. Eat for two seconds: the tuft shrinks under the eat hint.
  press Return
  until_true 10 playing || fail "no second game for the screenshots"
  press Right 3
  press Up 2
  xdotool keydown Return
  sleep 1.8
  cp "$(shot eating)" "$VELMOOR_DOCS/play-hint.png"
  xdotool keyup Return
fi
close_game
echo "PASS"
