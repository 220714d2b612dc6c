# Shared steps of the end-to-end tests: a private Common/ copy, the game under Xvfb, real keys.
# Expects VELMOOR, CLOSE_WINDOW, SOURCE_DIR and DISPLAY (set by run_under_xvfb.sh).

WORK="$(mktemp -d)"
mkdir -p "$WORK/Common" "$WORK/run" "$WORK/shots"
find "$SOURCE_DIR/Common" -maxdepth 1 -type f ! -name 'Settings.bin*' -exec cp {} "$WORK/Common/" \;
GAME_PID=""
WID=""

fail() {
  echo "FAIL: $*"
  exit 1
}

cleanup() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
    kill "$GAME_PID" 2>/dev/null || true
  fi
  [ -n "${KEEP_WORK:-}" ] && rm -rf "$KEEP_WORK" && cp -r "$WORK" "$KEEP_WORK" || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Starts the game from the working folder beside the Common/ copy; sound goes to a file.
start_game() {
  (cd "$WORK/run" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" \
    exec "$VELMOOR" > "$WORK/stdout.txt" 2>&1) &
  GAME_PID=$!
  WID="$(timeout 20 xdotool search --sync --name '^Velmoor$' | head -n 1)" || fail "no Velmoor window"
  xdotool windowfocus --sync "$WID" 2>/dev/null || true
  sleep 1
}

# Holds a key long enough for a frame-based game to see it.
press() {
  xdotool keydown "$1"
  sleep "${2:-0.15}"
  xdotool keyup "$1"
  sleep 0.25
}

hold() { xdotool keydown "$1"; }
release() { xdotool keyup "$1"; }

shot() {
  import -window "$WID" "$WORK/shots/$1.png"
  echo "$WORK/shots/$1.png"
}

# Prints the colour of one pixel of a screenshot as "r,g,b".
pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# Closes the window as a window manager would and waits for the game's exit status in STATUS.
close_game() {
  "$CLOSE_WINDOW" "$WID"
  STATUS=0
  wait "$GAME_PID" || STATUS=$?
  GAME_PID=""
}

# Writes a small map into the Common/ copy: COLUMNS ROWS, then "layer row column id" cells over
# a ground of plain snow (tile 1). Uses the shipped properties.tmx.
write_map() {
  local columns="$1" rows="$2"
  shift 2
  awk -v columns="$columns" -v rows="$rows" -v cells="$*" '
    BEGIN {
      n = split(cells, c, " ")
      for (i = 1; i + 3 <= n; i += 4) id[c[i] "," c[i + 1] "," c[i + 2]] = c[i + 3]
      print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      printf "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"%d\" height=\"%d\" tilewidth=\"32\" tileheight=\"32\" infinite=\"0\" nextlayerid=\"5\" nextobjectid=\"1\">\n", columns, rows
      print " <properties>\n  <property name=\"Music\" type=\"int\" value=\"1\"/>\n </properties>"
      for (layer = 0; layer < 4; layer++) {
        printf " <layer id=\"%d\" name=\"Layer %d\" width=\"%d\" height=\"%d\">\n  <data encoding=\"csv\">\n", layer + 1, layer, columns, rows
        for (r = 0; r < rows; r++) {
          line = ""
          for (col = 0; col < columns; col++) {
            key = layer "," r "," col
            v = (key in id) ? id[key] : (layer == 0 ? 1 : 0)
            line = line v
            if (r < rows - 1 || col < columns - 1) line = line ","
          }
          print line
        }
        print "</data>\n </layer>"
      }
      print "</map>"
    }' > "$WORK/Common/map00000.tmx"
}

# Counts the pixels in which two images differ by more than 5 per cent.
differing_pixels() {
  { compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 || true; } | awk '{print int($1)}'
}

# Counts the grass-green pixels of a screenshot.
green_pixels() {
  convert "$1" -fx '(g > r + 0.12 && g > b + 0.04) ? 1 : 0' -format '%[fx:int(mean * w * h + 0.5)]' info:
}

# Counts the pixels in which two images differ by more than 5 per cent, in a region WxH+X+Y.
differing_pixels_in() {
  convert "$1" -crop "$3" +repage "$WORK/crop-a.png"
  convert "$2" -crop "$3" +repage "$WORK/crop-b.png"
  differing_pixels "$WORK/crop-a.png" "$WORK/crop-b.png"
}
