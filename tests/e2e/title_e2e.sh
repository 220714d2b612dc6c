# The title screen appears with its music, Up and Down move the red selection frame with
# wrap-around, a full settings pass writes the expected 32 bytes, closing the window exits
# with status 0, and the next start reads the saved bindings.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

frame_colour="255,45,0"
frame_at() { # screenshot, frame top y: the middle of the frame's top edge is red
  [ "$(pixel "$1" 230 "$2")" = "$frame_colour" ]
}

start_game
s="$(shot start)"
frame_at "$s" 223 || fail "the frame is not on 'Start a game' at start: $(pixel "$s" 230 223)"
frame_at "$s" 285 && fail "a second frame is drawn"

press Down
s="$(shot down)"
frame_at "$s" 285 || fail "Down did not move the frame to 'Settings'"
frame_at "$s" 223 && fail "the old frame is still drawn after Down"
press Up
press Up
s="$(shot wrap)"
frame_at "$s" 347 || fail "Up from the top entry did not wrap to 'Quit'"
press Down
press Down
s="$(shot settings-entry)"
frame_at "$s" 285 || fail "Down from 'Quit' did not wrap to the top and on to 'Settings'"

# The settings screen: bind w s a d, left shift, e, q, F5, then any key to leave and save.
press Return
s="$(shot settings)"
[ "$(pixel "$s" 700 500)" = "0,0,0" ] || fail "the settings screen is not on its black background"
for key in w s a d Shift_L e q F5 x; do
  press "$key"
done
sleep 0.5
settings="$WORK/Common/Settings.bin"
[ -f "$settings" ] || fail "Settings.bin was not written"
bytes="$(od -An -v -tx1 "$settings" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')"
expected="77 00 00 00 73 00 00 00 61 00 00 00 64 00 00 00 e1 00 00 40 65 00 00 00 71 00 00 00 3e 00 00 40"
[ "$bytes" = "$expected" ] || fail "Settings.bin holds '$bytes', expected '$expected'"

s="$(shot back-to-title)"
frame_at "$s" 223 || fail "the title screen did not return on 'Start a game'"

# The title music really plays: the mixer's output is not silent.
[ -s "$WORK/audio.raw" ] || fail "no audio was mixed"
nonzero="$(od -An -v -tx1 -N 400000 -j 100000 "$WORK/audio.raw" | tr -s ' \n' '\n' | grep -vc '^00$' || true)"
[ "$nonzero" -gt 1000 ] || fail "the title music is silent ($nonzero non-zero bytes)"

close_game
[ "$STATUS" = 0 ] || fail "closing the window gave exit status $STATUS"

# The next start uses the saved bindings: 's' now moves the selection down.
start_game
press Down
s="$(shot old-key)"
frame_at "$s" 223 || fail "the old Down key still moves the menu after rebinding"
press s
s="$(shot new-key)"
frame_at "$s" 285 || fail "the saved binding 's' does not move the menu down"
close_game
[ "$STATUS" = 0 ] || fail "closing the window gave exit status $STATUS"
echo "PASS"
