# Records the replays of tests/replays by playing the real game in a real window with real key
# presses, each with --record, and keeps a replay only when its game went as the scenario meant
# (its headless playback's line says so). Re-record when a change to the rules is intended:
#   tests/e2e/run_under_xvfb.sh tests/replays/record.sh build/velmoor build/close_window .
# The scenarios: won, killed, wounded, hideout (several minutes).
set -euo pipefail
source "$(dirname "$0")/../e2e/lib.sh"

replays="$SOURCE_DIR/tests/replays"
scenarios="${SCENARIOS:-won killed wounded hideout}"

playing() { colour="$(pixel "$(shot game)" 230 223)" && [ "$colour" != "255,45,0" ]; }

# Starts a recorded game on a map of tests/replays and waits for its first frame.
start_recorded() {
  start_game --map "$replays/$1.tmx" --record "$WORK/$2.replay"
  press Return
  until_true 10 playing || fail "Return on the title did not start a game"
}

# Keeps the replay when its playback's line matches the pattern; returns 1 otherwise.
keep() {
  local name="$1" map="$2" pattern="$3" line
  line="$(cd "$WORK/run" && "$VELMOOR" --replay "$WORK/$name.replay" --headless --map "$replays/$map.tmx")" ||
    fail "$name: the replay does not play back: $line"
  line="${line#"$WORK/$name.replay: "}"
  if [[ ! "$line" =~ $pattern ]]; then
    echo "$name: the game went otherwise ($line); recording it again"
    return 1
  fi
  cp "$WORK/$name.replay" "$replays/$name.replay"
  sed -i "s|^expect: .*|expect: $line|" "$replays/$name.txt"
  echo "$name: $line"
}

record_won() {
  # Eat the tuft under the head at the start: one of three eaten wins.
  start_recorded meadow won
  xdotool keydown Return
  until_true 40 showing Win.png || fail "holding the eat key on the grass did not win the game"
  xdotool keyup Return
  press space
  close_game
  keep won meadow '^won after'
}

record_killed() {
  # A walk east and back, then the deer stands in the hunter's view until his second shot.
  start_recorded meadow killed
  press Right 0.5
  press Left 0.5
  until_true 90 showing GameOver.png || fail "the hunter never killed the deer"
  press space
  close_game
  keep killed meadow '^killed after.*2 wounds$'
}

record_wounded() {
  # The deer smells with no hunter about (the blue circle), waits on the open grass until the
  # hunter has come to the spot in view (26.6 s after the start at full speed) and smells him
  # (the red arrow) while he aims and wounds it (27.5 s), then sprints west into the thicket,
  # where he cannot see it, before his second shot (32 s); then the window closes.
  start_recorded thicket wounded
  local started=$SECONDS
  sleep 3
  press Control_R 2.5
  sleep $((started + 26 - SECONDS))
  xdotool keydown Control_R
  sleep 3.5
  xdotool keyup Control_R
  xdotool keydown Shift_R keydown Left
  sleep 1
  xdotool keyup Left keyup Shift_R
  sleep 8
  close_game
  keep wounded thicket '^closed after.* 1 wound$'
}

record_hideout() {
  # Several minutes: the deer eats the grass under its head inside a thicket of bushes, then
  # shuffles about in there, smelling now and then, while the hunter roams his hunting spots
  # and follows what tracks he can see; the window closes after about four and a half minutes.
  start_recorded hideout hideout
  local started=$SECONDS
  xdotool keydown Return
  sleep 6
  xdotool keyup Return
  while [ $((SECONDS - started)) -lt 270 ]; do
    press Left 0.3
    press Right 0.3
    press Up 0.2
    press Down 0.2
    [ $(((SECONDS - started) % 40)) -lt 10 ] && press Control_R 2.5
    sleep 5
  done
  close_game
  keep hideout hideout '^closed after ([0-9]{5}|[89][0-9]{3}) frames'
}

for scenario in $scenarios; do
  for attempt in 1 2 3; do
    "record_$scenario" && break
    [ "$attempt" != 3 ] || fail "$scenario: three recordings went otherwise"
  done
done
echo "PASS"
