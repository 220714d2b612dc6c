# A game played with real key presses is recorded, into ../Replays/ and to --record FILE, and
# plays back to the same end: headless, and in the window, where the game's keys do nothing, the
# end screen follows, and Esc stops a replay early.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# A 13 x 9 map: the deer starts with its head over a tuft; one eaten of three wins.
write_map 13 9  1 4 6 21  1 1 1 22  1 7 11 23  3 4 6 20  3 4 9 84
playing() { colour="$(pixel "$(shot game)" 230 223)" && [ "$colour" != "255,45,0" ]; }

start_game --record "$WORK/won.replay"
press Return
until_true 10 playing || fail "Return on the title did not start a game"
press Left 0.3 # a step away and back: the head over the tuft again
press Right 0.3
xdotool keydown Return
until_true 40 showing Win.png || fail "holding the eat key on the grass did not win the game"
xdotool keyup Return
press space
close_game
[ -f "$WORK/won.replay" ] || fail "--record wrote no replay"
kept="$(ls "$WORK/Replays")"
[[ "$kept" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}\.replay$ ]] || fail "../Replays holds: $kept"
cmp -s "$WORK/won.replay" "$WORK/Replays/$kept" || fail "the two copies of the replay differ"

line="$(cd "$WORK/run" && "$VELMOOR" --replay "$WORK/won.replay" --headless)" || fail "headless playback: $line"
[[ "$line" =~ ^"$WORK/won.replay: won after "[0-9]+" frames (0:0"[0-9]"), 1 of 3 tufts eaten, 0 wounds"$ ]] ||
  fail "headless playback printed: $line"

# In the window: the keys of the game (Left, Return) change nothing; the victory picture comes.
start_window --replay "$WORK/won.replay"
press Left 0.5
until_true 40 showing Win.png || fail "the replay in the window did not end with the victory picture"
press space
wait "$GAME_PID" || fail "the replay in the window ended with status $?"
GAME_PID=""
grep -qx "$line" "$WORK/stdout.txt" || fail "the replay in the window printed: $(cat "$WORK/stdout.txt")"

# Esc stops a replay early.
start_window --replay "$WORK/won.replay"
press Escape
wait "$GAME_PID" || fail "a replay stopped with Esc ended with status $?"
GAME_PID=""
grep -q "stopped after" "$WORK/stdout.txt" || fail "Esc did not stop the replay: $(cat "$WORK/stdout.txt")"
echo "PASS"
