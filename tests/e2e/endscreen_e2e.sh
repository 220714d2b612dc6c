# The victory screen on a desktop with key repeat on: the eat key held through the last tuft keeps
# repeating after the end screen's pause, and "Spring has come" must stay until the player lets go
# and presses a key anew; then the title returns.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# The runner's X server has auto-repeat off; start one with it on, as on a player's desktop.
coproc REPEAT_XVFB { exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2> /dev/null; }
trap 'cleanup; kill "$REPEAT_XVFB_PID" 2> /dev/null || true' EXIT
read -r -t 20 number <&"${REPEAT_XVFB[0]}" || fail "the X server with key repeat did not start"
export DISPLAY=":$number"

# A 13 x 9 map of snow: the deer starts with its head on grass at row 4, column 6, and two more
# tufts lie about, so eating one wins.
write_map 13 9  1 4 6 21  1 1 1 22  1 7 11 23  3 4 6 20

start_game
# A desktop's repeat: 300 ms, then 25 a second (set while the game is connected, so that the
# server keeps it).
xset r rate 300 25
xset q | grep -q 'auto repeat:  on' || fail "key repeat is not on: $(xset q | grep -i repeat)"

playing() { colour="$(pixel "$(shot game)" 230 223)" && [ "$colour" != "255,45,0" ]; }
press Return
until_true 10 playing || fail "Return on the title did not start a game"

# Eat is Return: held, it lowers the head (28 frames), eats the tuft (165) and wins; the victory
# picture follows a second later while the key goes on repeating.
xdotool keydown Return
until_true 40 showing Win.png || fail "holding the eat key on the grass did not show the victory picture"
sleep 3
showing Win.png || fail "the victory picture did not stay while the eat key was held and repeating"
xdotool keyup Return
sleep 1
showing Win.png || fail "letting go of the eat key left the victory picture"
press space
until_true 10 frame_on 223 || fail "a new key press did not leave the victory picture for the title"

close_game
echo "PASS"
