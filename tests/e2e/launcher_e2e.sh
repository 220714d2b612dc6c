# The installed launcher's duties, on a stand-in game that reports where it runs and what it got:
# the per-user folder it prepares, the links it keeps up to date, the arguments it passes on.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

build="$(dirname "$VELMOOR")"
prefix="$WORK/prefix"
cmake --install "$build" --prefix "$prefix" > "$WORK/install.log" || fail "cmake --install: $(tail -n 3 "$WORK/install.log")"
export HOME="$WORK/home"
unset XDG_DATA_HOME
player="$HOME/.local/share/velmoor"
"$prefix/bin/velmoor" --version > /dev/null || fail "the launcher did not start the game"

printf '#!/bin/sh\npwd\nfor a; do echo "[$a]"; done\nexit 7\n' > "$prefix/libexec/velmoor/velmoor"
ln -s "$WORK/gone" "$player/Common/gone.png"
rm "$player/Common/Deer.png"
mkdir -p "$WORK/maps"
status=0
out="$(cd "$WORK/maps" && "$prefix/bin/velmoor" --check-map "my map.tmx" /abs.tmx -x "")" || status=$?
expected="$(printf '%s\n' "$player/run" "[--check-map]" "[$WORK/maps/my map.tmx]" "[/abs.tmx]" "[-x]" "[]")"
[ "$out" = "$expected" ] || fail "the launcher passed: $out"
[ "$status" = 7 ] || fail "the launcher's exit status is $status, not the game's 7"
[ ! -L "$player/Common/gone.png" ] || fail "a stale link was kept"
[ "$player/Common/Deer.png" -ef "$prefix/share/velmoor/Common/Deer.png" ] || fail "a missing link was not remade"
touch "$WORK/file"
status=0
message="$(XDG_DATA_HOME="$WORK/file" "$prefix/bin/velmoor" 2>&1)" || status=$?
[ "$status" = 1 ] && [ "$(echo "$message" | wc -l)" = 1 ] && [[ "$message" == "velmoor: cannot create"* ]] ||
  fail "an unusable folder gave status $status and: $message"

echo "PASS"
