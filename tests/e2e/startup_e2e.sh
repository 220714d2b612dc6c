# What a player meets when the game cannot start as usual, from the real program: each failure
# ends with status 1 and one line on what is wrong and what to do; without a sound device the
# game still reaches its title and plays, silently, after saying so once.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# Runs the game from FOLDER with the settings given after it; fails unless it ends with status 1
# and one line matching PATTERN (WHAT names the case).
expect_one_line() { # WHAT FOLDER PATTERN [env SETTINGS...]
  local what="$1" folder="$2" pattern="$3" status=0 out
  shift 3
  out="$(cd "$folder" && SDL_AUDIODRIVER=dummy timeout 30 env "$@" "$VELMOOR" 2>&1)" || status=$?
  [ "$status" = 1 ] && [ "$(wc -l <<< "$out")" = 1 ] && [[ "$out" == $pattern ]] || fail "$what: status $status and: $out"
}

# Started from a folder with no ../Common/ beside it: one line naming the folder, not one per file.
mkdir -p "$WORK/elsewhere/run"
expect_one_line "no data" "$WORK/elsewhere/run" "Velmoor cannot find its data: there is no folder ../Common/ beside $WORK/elsewhere/run;*"
# One image missing: its line names it and says how to get it back.
mv "$WORK/Common/Font.png" "$WORK/Font.png"
expect_one_line "a missing image" "$WORK/run" "Unable to load image ../Common/Font.png! SDL Error: *; reinstall Velmoor, or restore the file*"
mv "$WORK/Font.png" "$WORK/Common/Font.png"
# No display and no video driver chosen: said before anything is tried, so no window ever opens.
expect_one_line "no display" "$WORK/run" "Velmoor needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set;*" \
  -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER

# No sound device: one line, then the title, the menu's sound, a game and its music, all silent.
printf '#!/bin/sh\nSDL_AUDIODRIVER=nonexistent exec "%s"\n' "$VELMOOR" > "$WORK/silent" && chmod +x "$WORK/silent"
VELMOOR="$WORK/silent" start_game
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
