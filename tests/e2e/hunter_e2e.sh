# The whole hunt on a small open map: the deer stands on grass from the start, so the hunter
# arrives about 26.6 s later on the farthest hunting spot, walks into his shooting window, wounds
# the deer, rests, shoots again and kills it; the death image shows and a key leaves it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# 20 x 12 cells, deer start on grass at (6, 10), hunting spots at two corners.
write_map 20 12  3 6 10 20  1 6 10 21  1 2 2 22  1 9 17 23  3 0 0 84  3 11 19 84

start_game
press Return
start="$(date +%s)"
sleep 20
s="$(shot before-arrival)"
diff="$(differing_pixels "$s" "$WORK/Common/GameOver.png")"
[ "$diff" -gt 20000 ] || fail "the deer died before the hunter could have arrived"
# 1065 frames of tutorial, then the walk, 36 frames of aim, 150 of rest and 36 more.
dead=""
for _ in $(seq 1 60); do
  sleep 1
  s="$(shot hunt)"
  diff="$(differing_pixels "$s" "$WORK/Common/GameOver.png")"
  if [ "$diff" -lt 2000 ]; then
    dead="$(( $(date +%s) - start ))"
    break
  fi
done
[ -n "$dead" ] || fail "the death image never showed"
[ "$dead" -ge 28 ] || fail "the deer died after $dead s, before the hunter's time"
press space
sleep 0.5
s="$(shot title)"
[ "$(pixel "$s" 230 223)" = "255,45,0" ] || fail "the title screen did not return after the death"
close_game
[ "$STATUS" = 0 ] || fail "closing the window gave exit status $STATUS"
echo "PASS after $dead s"
