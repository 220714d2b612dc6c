# Shared steps of the end-to-end tests: a private Common/ copy, the game under Xvfb, real keys,
# screenshots, small maps. Expects VELMOOR, CLOSE_WINDOW, SOURCE_DIR and DISPLAY (set by
# run_under_xvfb.sh).

WORK="$(mktemp -d)"
mkdir -p "$WORK/Common" "$WORK/run" "$WORK/shots"
find "$SOURCE_DIR/Common" -maxdepth 1 -type f ! -name 'Settings.bin*' -exec cp {} "$WORK/Common/" \;
GAME_PID="" WID=""

fail() { echo "FAIL: $*" && exit 1; }

cleanup() {
  [ -z "$GAME_PID" ] || kill "$GAME_PID" 2> /dev/null || true
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
# file, and waits for its window.
start_window() {
  (cd "$WORK/run" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" \
    exec "$VELMOOR" "$@" > "$WORK/stdout.txt" 2>&1) &
  GAME_PID=$!
  WID="$(timeout 30 xdotool search --sync --name '^Velmoor$' | head -n 1)" || fail "no Velmoor window: $(cat "$WORK/stdout.txt")"
  xdotool windowfocus --sync "$WID" 2> /dev/null || true
}

# Starts the game as start_window does and waits for its title screen.
start_game() {
  start_window "$@"
  until_true 30 frame_on 223 || fail "no title screen: $(cat "$WORK/stdout.txt")"
}

# Holds a key long enough for a frame-based game to see it (SECONDS, default 0.15).
press() { xdotool keydown "$1" sleep "${2:-0.15}" keyup "$1" sleep 0.25; }

# Takes a screenshot of the game's window and prints its path (where none is when it fails).
shot() {
  rm -f "$WORK/shots/$1.png"
  timeout 10 import -window "$WID" "$WORK/shots/$1.png" 2> /dev/null
  echo "$WORK/shots/$1.png"
}

# Prints the colour of pixel X Y of a screenshot as "R,G,B"; fails when there is no screenshot.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# The title's red selection frame has its top edge at y (223 start a game, 285 settings, 347 quit).
frame_on() { [ "$(pixel "$(shot frame)" 230 "$1" 2> /dev/null)" = "255,45,0" ]; }

# The window shows a full-screen image of the Common/ copy (Win.png, GameOver.png).
showing() { [ "$(differing_pixels "$(shot "showing-${1%.png}")" "$WORK/Common/$1")" -lt 2000 ]; }

# Writes a map of COLUMNS x ROWS cells (music 1) into the Common/ copy: snow (tile 1) on the
# ground, then the cells given as "layer row column id" (layers 0 to 3), empty elsewhere.
write_map() {
  local columns="$1" rows="$2" layer row column
  local -A id=()
  shift 2
  while [ $# -ge 4 ]; do id["$1,$2,$3"]="$4" && shift 4; done
  {
    echo "<map width=\"$columns\" height=\"$rows\"><properties><property name=\"Music\" type=\"int\" value=\"1\"/></properties>"
    for layer in 0 1 2 3; do
      echo '<layer><data encoding="csv">'
      for ((row = 0; row < rows; row++)); do
        for ((column = 0; column < columns; column++)); do printf '%s,' "${id[$layer,$row,$column]:-$((layer == 0))}"; done
        echo
      done
      echo '</data></layer>'
    done
    echo '</map>'
  } > "$WORK/Common/map00000.tmx"
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

# Counts the grass-green pixels of a screenshot.
green_pixels() {
  convert "$1" -fx '(g > r + 0.12 && g > b + 0.04) ? 1 : 0' -format '%[fx:int(mean * w * h + 0.5)]' info:
}
