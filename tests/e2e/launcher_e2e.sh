# The installed launcher's duties. With the real game: --version, --help and --check-map prepare no
# folder. With a stand-in game that reports where it runs and what it got: the links it keeps up to
# date while every entry of the player's own stays, the folders it refuses, the arguments it passes.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

build="$(dirname "$VELMOOR")"
prefix="$WORK/prefix"
cmake --install "$build" --prefix "$prefix" > "$WORK/install.log" || fail "cmake --install: $(tail -n 3 "$WORK/install.log")"
launcher="$prefix/games/velmoor" game="$prefix/lib/games/velmoor/velmoor" data="$prefix/share/games/velmoor/Common"
[ -f "$launcher" ] && [ -f "$data/map00000.tmx" ] && [ -f "$game" ] || fail "the launcher, data or game is not installed"

export HOME="$WORK/home"
unset XDG_DATA_HOME
player="$HOME/.local/share/velmoor"
common="$player/Common"
mkdir -p "$WORK/maps"
cd "$WORK/maps"

# Printing and checking need no folder of the player's; relative maps count from where it started.
[[ "$("$launcher" --version)" == "velmoor "* ]] || fail "--version did not print the version"
cp "$data/map00000.tmx" "$WORK/maps/-mine.tmx"
"$launcher" --check-map -mine.tmx > "$WORK/check.txt" || fail "--check-map on a copy of the shipped map: $(cat "$WORK/check.txt")"
"$launcher" -h | grep -q -- --check-map || fail "-h did not print the help"
[ ! -e "$HOME" ] || fail "--version, --check-map or -h prepared a folder: $(find "$HOME")"

# Runs the launcher; sets STATUS, OUT and ERR (its standard output and error).
launch() {
  STATUS=0
  "$launcher" "$@" > "$WORK/out.txt" 2> "$WORK/err.txt" || STATUS=$?
  OUT="$(cat "$WORK/out.txt")" ERR="$(cat "$WORK/err.txt")"
}

# The stand-in game. The player's folder as another version left it, with entries of the player's.
printf '#!/bin/sh\npwd\nfor a; do printf "[%%s]\\n" "$a"; done\nexit 7\n' > "$game"
other="/old/prefix/share/velmoor/Common" # another version's data, since removed
mkdir -p "$common"
ln -s "$other/Deer.png" "$common/Deer.png"       # another version's link: led here
ln -s "$other/gone.png" "$common/gone.png"       # to a file this version lacks: removed
ln -s "$data/Icon.png" "$common/Font.png"        # into the data, under another name: the player's
ln -s "$WORK/mine.tmx" "$common/map00000.tmx"    # the player's own shipped map: kept
ln -s "$WORK/mine.tmx" "$common/map00001.tmx"    # and a map of their own: kept
ln -s /nowhere "$common/notes"                   # a link of the player's that leads nowhere: kept
echo mine > "$common/Hunter.png"                 # a file of the player's: kept
printf keys > "$common/Settings.bin"             # the player's bindings: kept
mkdir "$common/Snow.png"                         # a folder where a data file belongs: kept, and said
launch
[ "$STATUS" = 7 ] || fail "the launcher's exit status is $STATUS, not the game's 7"
[ "$OUT" = "$player/run" ] || fail "the game ran in $OUT, not in $player/run"
[ -d "$player/Replays" ] && [ ! -L "$player/Replays" ] || fail "no folder $player/Replays for the replays"
[ "$ERR" = "velmoor: $common/Snow.png is a folder, so the game cannot read the installed Snow.png; remove that folder to have it back." ] ||
  fail "a folder in a data file's place was not reported in one line: $ERR"
for file in "$data"/*; do
  name="${file##*/}"
  case "$name" in
  Font.png) expected="$data/Icon.png" ;;
  map00000.tmx) expected="$WORK/mine.tmx" ;;
  Hunter.png | Snow.png) continue ;;
  *) expected="$file" ;;
  esac
  [ "$(readlink "$common/$name")" = "$expected" ] || fail "$name leads to '$(readlink "$common/$name")', not to $expected"
done
[ ! -L "$common/gone.png" ] || fail "another version's link to a file this one lacks was kept"
[ "$(readlink "$common/map00001.tmx")" = "$WORK/mine.tmx" ] && [ "$(readlink "$common/notes")" = /nowhere ] ||
  fail "the player's own links were changed"
[ "$(cat "$common/Hunter.png")" = mine ] && [ "$(cat "$common/Settings.bin")" = keys ] && [ -d "$common/Snow.png" ] ||
  fail "the player's own file or folder was changed"
rmdir "$common/Snow.png"

# File options' values, even ones starting with a dash, count from where the player started;
# numbers, names and options pass unchanged. Printing or checking runs in the data folder.
launch --map "my map.tmx" --bot 5 --seed 3 --profile new --record /abs.rec --replay -r.rec --bot-replays "" --headless -x word
expected="$(printf '[%s]\n' --map "$PWD/my map.tmx" --bot 5 --seed 3 --profile new --record /abs.rec --replay "$PWD/-r.rec" \
  --bot-replays "" --headless -x word)"
[ "$OUT" = "$player/run"$'\n'"$expected" ] || fail "a game was given: $OUT"
launch --check-map -m.tmx b.tmx --properties p.tmx --json --difficulty 20 --difficulty
expected="$(printf '[%s]\n' --check-map "$PWD/-m.tmx" "$PWD/b.tmx" --properties "$PWD/p.tmx" --json --difficulty 20 --difficulty)"
[ "$OUT" = "$data"$'\n'"$expected" ] || fail "the map checker was given: $OUT"
launch --bot 5 --help
[ "$OUT" = "$data"$'\n'"$(printf '[%s]\n' --bot 5 --help)" ] || fail "--help was given: $OUT"

# Refusals: one line, status 1, the game not started and nothing written where it does not belong.
refused() { # WHY EXPECTED-START-OF-LINE, after a launch
  [ "$STATUS" = 1 ] && [ -z "$OUT" ] && [ "$(printf '%s\n' "$ERR" | wc -l)" = 1 ] && [[ "$ERR" == "velmoor: $2"* ]] ||
    fail "$1 gave status $STATUS and: $OUT$ERR"
}
mkdir -p "$WORK/elsewhere"
for folder in Common run Replays; do # a link there would lead the game's files into another folder
  mkdir -p "$WORK/h$folder/.local/share/velmoor" && ln -s "$WORK/elsewhere" "$WORK/h$folder/.local/share/velmoor/$folder"
  HOME="$WORK/h$folder" launch
  refused "a $folder/ that is a link" "$WORK/h$folder/.local/share/velmoor/$folder is a symbolic link"
done
[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "the launcher wrote into a folder a link led to"
HOME=home launch
refused "a relative HOME" "HOME (home) is not a full path"
(unset HOME && launch && refused "no HOME" "HOME is not set")
touch "$WORK/file"
XDG_DATA_HOME="$WORK/file" launch
refused "a file where the folder belongs" "mkdir: cannot create directory"
[[ "$ERR" == *"Not a directory"* ]] || fail "mkdir's own reason was not passed on: $ERR"
# The player's folder may neither hold nor lie in the installed data, whatever the prefix.
XDG_DATA_HOME="$(dirname "$(dirname "$data")")" launch
refused "a player's folder that holds the data" "your folder $(dirname "$data") holds the installed data"
XDG_DATA_HOME="$data" launch
refused "a player's folder in the data" "your folder $data/velmoor lies in the installed data"
[ ! -e "$(dirname "$data")/run" ] && [ ! -e "$data/velmoor" ] || fail "the launcher prepared a folder in the installed data"
# Started from a folder since deleted, a relative path cannot be found (the shell itself may say
# first that it cannot tell its folder).
mkdir "$WORK/deleted" && cd "$WORK/deleted" && rmdir "$WORK/deleted"
launch --map m.tmx
ERR="$(printf '%s\n' "$ERR" | grep -v '^sh: .*getcwd')"
refused "a relative map from a deleted folder" "cannot tell which folder you started in"
launch --map /abs.tmx
[ "$STATUS" = 7 ] || fail "a full path from a deleted folder gave status $STATUS: $ERR"

echo "PASS"
