# SIGTERM and SIGINT end the game at any point through its normal shutdown, as closing the window
# does: exit status 0 and the process gone within two seconds; a settings screen left half done
# saves nothing.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
# With job control the game started in the background surely keeps SIGINT's default action, as one
# started from a terminal does (a shell without it may have background commands ignore SIGINT, and
# SDL leaves an ignored signal ignored).
set -m

# Sends a signal to the game; fails unless the game ends within two seconds with exit status 0.
end_with() {
  kill -s "$1" "$GAME_PID"
  local tenths=0
  # The game is this shell's child: ended, it stays a zombie (state Z) until waited for.
  until [ "$(cut -d ' ' -f 3 "/proc/$GAME_PID/stat" 2> /dev/null || echo Z)" = Z ]; do
    [ "$tenths" -lt 20 ] || fail "the game still ran 2 s after SIG$1"
    sleep 0.1
    tenths=$((tenths + 1))
  done
  STATUS=0
  wait "$GAME_PID" || STATUS=$?
  GAME_PID=""
  [ "$STATUS" = 0 ] || fail "SIG$1 gave exit status $STATUS: $(cat "$WORK/stdout.txt")"
}

write_map 13 9  1 4 6 21  1 1 1 22  1 7 11 23  3 4 6 20  3 4 9 84

# During play.
start_game
playing() { [ "$(pixel "$(shot game)" 230 223)" != "255,45,0" ]; }
press Return
until_true 10 playing || fail "Return on the title did not start a game"
press Right 0.5
end_with TERM

# Half-way through binding the keys anew.
start_game
press Down
press Return
until_true 10 playing || fail "the settings screen did not open"
press a
press b
end_with INT
[ ! -e "$WORK/Common/Settings.bin" ] || fail "a settings screen ended by SIGINT saved the keys"

echo "PASS"
