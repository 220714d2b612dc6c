# What a player meets when the game cannot start as usual, from the real program: each failure
# ends with status 1 and one line on what is wrong and what to do; without a sound device the
# game still reaches its title and plays, silently, after saying so once.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# Runs the game from FOLDER with the settings given before it; sets STATUS and OUT (its output).
run_game() {
  local folder="$1"
  shift
  STATUS=0
  OUT="$(cd "$folder" && SDL_AUDIODRIVER=dummy timeout 30 env "$@" "$VELMOOR" 2>&1)" || STATUS=$?
}
# Fails unless the last run ended with status 1 and printed one line starting with TEXT.
expect_one_line() {
  [ "$STATUS" = 1 ] && [ "$(wc -l <<< "$OUT")" = 1 ] && [[ "$OUT" == "$1"* ]] ||
    fail "$2: status $STATUS and: $OUT"
}

# Started from a folder with no ../Common/ beside it: one line naming the folder, not one per file.
mkdir -p "$WORK/elsewhere/run"
run_game "$WORK/elsewhere/run"
expect_one_line "Velmoor cannot find its data: there is no folder ../Common/ beside $WORK/elsewhere/run;" "no data"

# One image missing: its line names it and says how to get it back.
mv "$WORK/Common/Font.png" "$WORK/Font.png"
run_game "$WORK/run"
expect_one_line "Unable to load image ../Common/Font.png! SDL Error: " "a missing image"
[[ "$OUT" == *"; reinstall Velmoor, or restore the file"* ]] || fail "a missing image, with no remedy: $OUT"
mv "$WORK/Font.png" "$WORK/Common/Font.png"

# No display and no video driver chosen: said before anything is tried, so no window ever opens.
run_game "$WORK/run" -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER
expect_one_line "Velmoor needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set;" "no display"

# No sound device: one line, then the title, the menu's sound, a game and its music, all silent.
(cd "$WORK/run" && SDL_AUDIODRIVER=nonexistent exec "$VELMOOR" > "$WORK/stdout.txt" 2>&1) &
GAME_PID=$!
WID="$(timeout 30 xdotool search --sync --name '^Velmoor$' | head -n 1)" || fail "no window without sound: $(cat "$WORK/stdout.txt")"
xdotool windowfocus --sync "$WID" 2> /dev/null || true
until_true 30 frame_on 223 || fail "no title screen without sound: $(cat "$WORK/stdout.txt")"
press Down
until_true 10 frame_on 285 || fail "the menu did not move without sound"
press Up
press Return
until_true 10 eval '! frame_on 223 && ! frame_on 285' || fail "no game started without sound"
press Right 1
close_game
out="$(cat "$WORK/stdout.txt")"
[ "$(wc -l <<< "$out")" = 1 ] && [[ "$out" == "SDL_mixer could not initialize! SDL_mixer Error: "*"Velmoor plays without sound"* ]] ||
  fail "without sound the game said: $out"

echo "PASS"
