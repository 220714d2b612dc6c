# Shared steps of the end-to-end tests: a private Common/ copy, the game under Xvfb, real keys,
# screenshots. Expects VELMOOR, CLOSE_WINDOW, SOURCE_DIR and DISPLAY (set by run_under_xvfb.sh);
# KEEP_WORK=FOLDER keeps the copy, the screenshots and the game's output there.

WORK="$(mktemp -d)"
mkdir -p "$WORK/Common" "$WORK/run" "$WORK/shots"
find "$SOURCE_DIR/Common" -maxdepth 1 -type f ! -name 'Settings.bin*' -exec cp {} "$WORK/Common/" \;
GAME_PID="" WID=""

fail() { echo "FAIL: $*" && exit 1; }

cleanup() {
  [ -z "$GAME_PID" ] || kill "$GAME_PID" 2> /dev/null || true
  [ -z "${KEEP_WORK:-}" ] || { rm -rf "$KEEP_WORK" && cp -r "$WORK" "$KEEP_WORK"; } || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Runs a command every second until it succeeds; returns 1 after SECONDS without success.
until_true() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do [ "$SECONDS" -lt "$deadline" ] && sleep 1 || return 1; done
}

# Starts the game from the working folder beside the Common/ copy, with its sound mixed into a
# file, and waits for its title screen.
start_game() {
  (cd "$WORK/run" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" \
    exec "$VELMOOR" > "$WORK/stdout.txt" 2>&1) &
  GAME_PID=$!
  WID="$(timeout 30 xdotool search --sync --name '^Velmoor$' | head -n 1)" || fail "no Velmoor window: $(cat "$WORK/stdout.txt")"
  xdotool windowfocus --sync "$WID" 2> /dev/null || true
  until_true 30 frame_on 223 || fail "no title screen: $(cat "$WORK/stdout.txt")"
}

# Holds a key long enough for a frame-based game to see it (SECONDS, default 0.15).
press() { xdotool keydown "$1" sleep "${2:-0.15}" keyup "$1" sleep 0.25; }

# Takes a screenshot of the game's window and prints its path (where none is when it fails).
shot() {
  rm -f "$WORK/shots/$1.png"
  import -window "$WID" "$WORK/shots/$1.png" 2> /dev/null
  echo "$WORK/shots/$1.png"
}

# Prints the colour of a pixel X Y of the window as "srgb(R,G,B)"; fails without a screenshot.
colour_at() { convert "$(shot pixel)" -format "%[pixel:p{$1,$2}]" info: 2> /dev/null; }

# The title's red selection frame has its top edge at y (223 start a game, 285 settings, 347 quit).
frame_on() { [ "$(colour_at 230 "$1")" = "srgb(255,45,0)" ]; }

# The window shows a full-screen image of the Common/ copy (Win.png, GameOver.png).
showing() {
  [ "$(differing_pixels "$(shot "showing-${1%.png}")" "$WORK/Common/$1")" -lt 2000 ]
}

# Closes the window as a window manager would; the game must end with exit status 0.
close_game() {
  "$CLOSE_WINDOW" "$WID"
  STATUS=0
  wait "$GAME_PID" || STATUS=$?
  GAME_PID=""
  [ "$STATUS" = 0 ] || fail "closing the window gave exit status $STATUS"
}

# Counts the pixels in which two images differ by more than 5 per cent (all of them when the
# images cannot be compared).
differing_pixels() {
  { compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 || true; } |
    awk 'NR == 1 && /^[0-9.]+(e[+-]?[0-9]+)?$/ {n = int($1)} END {print NR == 1 && n != "" ? n : 999999999}'
}

# Counts the pixels in which two images differ by more than 5 per cent, in a region WxH+X+Y.
differing_pixels_in() { differing_pixels "$1[$3]" "$2[$3]"; }

# Counts the grass-green pixels of a screenshot.
green_pixels() {
  convert "$1" -fx '(g > r + 0.12 && g > b + 0.04) ? 1 : 0' -format '%[fx:int(mean * w * h + 0.5)]' info:
}
