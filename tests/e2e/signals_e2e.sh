# SIGTERM ends the game during play through its normal shutdown, as closing the window does: exit
# status 0 and the process gone within two seconds. (The settings screen's own loop ends on the same
# quit event: tests/settings/settings_test.cpp.)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_game
playing() { [ "$(pixel "$(shot game)" 230 223)" != "255,45,0" ]; }
press Return
until_true 10 playing || fail "Return on the title did not start a game"
press Right 0.5
kill -s TERM "$GAME_PID"
# The game is this shell's child: ended, it stays a zombie (state Z) until waited for.
ended() { [ "$(cut -d ' ' -f 3 "/proc/$GAME_PID/stat" 2> /dev/null || echo Z)" = Z ]; }
for _ in $(seq 20); do ended && break || sleep 0.1; done
ended || fail "the game still ran 2 s after SIGTERM"
STATUS=0
wait "$GAME_PID" || STATUS=$?
GAME_PID=""
[ "$STATUS" = 0 ] || fail "SIGTERM gave exit status $STATUS: $(cat "$WORK/stdout.txt")"

echo "PASS"
