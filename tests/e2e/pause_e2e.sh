# The pause in a real window, with real keys, on the shipped level: Escape holds the game (the
# frame on screen does not change), Escape again goes on (the snow falls again), and Return in the
# pause leaves the game for the title, with its music, without an end screen; the game's replay
# ends closed. (The pause box, the sounds held, the focus and the keys are proved in-process.)
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

# Paused: the frame stays, whatever the snow and the tracks would do meanwhile.
press Escape
sleep 0.5
paused="$(shot paused)"
sleep 1.5
[ "$(differing_pixels "$(shot still)" "$paused")" -eq 0 ] || fail "the frame changed while paused (see still.png)"

# Going on: the snow falls again.
press Escape
going="$(shot going)"
sleep 0.5
[ "$(differing_pixels "$(shot going2)" "$going")" -gt 0 ] || fail "Escape did not end the pause (see going2.png)"

# Leaving: Return in the pause brings the title back, with its music: the mixed sound, as the disk
# audio driver writes it in real time, is not all zero in the next 1.5 seconds.
press Escape
press Return
sleep 0.5 # the program must still run: a screenshot of a window that has gone never returns
{ kill -0 "$GAME_PID" 2> /dev/null && until_true 10 frame_on 223; } ||
  fail "Return in the pause did not lead back to the title"
from="$(stat -c %s "$WORK/audio.raw")"
sleep 1.5
[ "$(tail -c +$((from + 1)) "$WORK/audio.raw" | head -c 176400 | tr -d '\0' | wc -c)" -gt 0 ] ||
  fail "the title music did not play after leaving the game"
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
