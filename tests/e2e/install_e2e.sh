# The installed game as a player runs it: from a temporary prefix, with a fresh HOME, the desktop
# entry shows the title and a settings pass writes the player's own Settings.bin (never into the
# prefix), which `velmoor` on PATH then uses; the uninstall leaves the prefix as it found it. The
# metadata and the manual page are checked, and the package as lintian sees it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

build="$(dirname "$VELMOOR")"
prefix="$WORK/prefix"
cmake --install "$build" --prefix "$prefix" > "$WORK/install.log" || fail "cmake --install: $(tail -n 3 "$WORK/install.log")"
touch "$WORK/installed"
files="$(cd "$prefix" && find . ! -type d | sort)" # what the package must hold
diff <(git -C "$SOURCE_DIR" ls-files Common | sed 's|^Common/||' | sort) <(ls "$prefix/share/games/velmoor/Common" | sort) ||
  fail "the installed data are not the files of Common/"
for size in 32 48 64 128 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x$size/apps/velmoor.png" ] || fail "no desktop icon of $size pixels"
done
entry="$(echo "$prefix"/share/applications/*.desktop)"
metainfo="$(echo "$prefix"/share/metainfo/*.metainfo.xml)"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$metainfo" > "$WORK/appstream.log" || fail "metadata: $(cat "$WORK/appstream.log")"
version="$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)"
# The manual page renders without a warning from man or groff.
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/velmoor.6.gz" > "$WORK/man.txt" 2> "$WORK/man.log" &&
  [ ! -s "$WORK/man.log" ] && grep -q -- '--check-map' "$WORK/man.txt" || fail "the manual page: $(cat "$WORK/man.log")"

export HOME="$WORK/home"
unset XDG_DATA_HOME
player="$HOME/.local/share/velmoor"
VELMOOR="$(sed -n 's/^Exec=//p' "$entry")" start_game # as from the menu, in a folder of its own
# Settings: bind the eight actions to w s a d, left shift, e, q and F5, then leave with any key.
for key in Down Return w s a d Shift_L e q F5 x; do press "$key"; done
settings="$player/Common/Settings.bin"
saved() { [ -f "$settings" ] && [ ! -L "$settings" ] && [ "$(stat -c %s "$settings")" = 32 ]; }
until_true 10 saved || fail "Settings.bin was not written as the player's own 32-byte file"
close_game
VELMOOR=velmoor PATH="$prefix/games:$PATH" start_game
press s
until_true 10 frame_on 285 || fail "the second start did not use the saved binding 's' for move down"
close_game
[ -z "$(find "$prefix" -newer "$WORK/installed")" ] || fail "playing wrote into the prefix: $(find "$prefix" -newer "$WORK/installed")"
# The uninstall removes what the install wrote and the folders it made, and nothing of the player's.
mkdir -p "$prefix/share/icons" && touch "$prefix/share/icons/theirs.png"
cmake -D MANIFEST="$build/install_manifest.txt" -P "$SOURCE_DIR/cmake/uninstall.cmake" > "$WORK/uninstall.log" ||
  fail "the uninstall: $(cat "$WORK/uninstall.log")"
left="$(cd "$prefix" && find . -mindepth 1 | sort | tr '\n' ' ')"
[ "$left" = "./share ./share/icons ./share/icons/theirs.png " ] || fail "the uninstall left or took: $left"

# The package.
cpack -G DEB -B "$WORK/package" --config "$build/CPackConfig.cmake" > "$WORK/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 5 "$WORK/cpack.log")"
deb="$WORK/package/velmoor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package named $(basename "$deb"): $(ls "$WORK/package")"
depends="$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{print $1}')"
for library in libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-mixer-2.0-0 timgm6mb-soundfont; do
  grep -qx "$library" <<< "$depends" || fail "no dependency on $library: $depends"
done
diff <(echo "$files") <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/|./|' | sort) ||
  fail "the package does not hold what an install does"
# lintian has nothing to say, not even for information; the debug symbols' package is found only
# beside its source package, which a package made by cpack lacks.
lintian -I "$deb" > "$WORK/lintian.log" 2>&1 && ! grep -q '^[EWIXPO]:' "$WORK/lintian.log" ||
  fail "lintian on the package: $(cat "$WORK/lintian.log")"
ddeb="${deb/velmoor_/velmoor-dbgsym_}" && ddeb="${ddeb%.deb}.ddeb"
lintian -I --suppress-tags cannot-check-whether-usr-share-doc-symlink-points-to-foreign-package "$ddeb" \
  > "$WORK/lintian.log" 2>&1 && ! grep -q '^[EWIXPO]:' "$WORK/lintian.log" ||
  fail "lintian on the debug symbols: $(cat "$WORK/lintian.log")"
# The game is stripped (lintian says so otherwise); its debug data, by its build id, are in the dbgsym package.
dpkg-deb -x "$deb" "$WORK/unpacked" && dpkg-deb -x "$ddeb" "$WORK/unpacked"
game="$WORK/unpacked/usr/lib/games/velmoor/velmoor"
id="$(readelf -n "$game" | sed -n 's/.*Build ID: \([0-9a-f]*\).*/\1/p')"
readelf -S "$WORK/unpacked/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" 2> /dev/null | grep -q '\.debug_info' ||
  fail "no debug data for build id $id: $(dpkg-deb -c "$ddeb")"

# Installed into the system: as root only, one test run at a time, never over a real installation.
exec 9> /tmp/velmoor-package-test.lock && flock 9
[ "$(id -u)" = 0 ] && [ "$(dpkg-query -W -f='${Status}' velmoor 2> /dev/null || true)" != "install ok installed" ] ||
  { echo "PASS (the package was not installed into the system: that needs root and no velmoor installed)" && exit 0; }
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" > "$WORK/apt.log" 2>&1; }
installed=yes
trap '[ -z "$installed" ] || apt_get purge velmoor; cleanup' EXIT
apt_get install --no-install-recommends "$deb" || fail "installing the package: $(tail -n 5 "$WORK/apt.log")"
HOME="$WORK/home-system" VELMOOR="$(sed -n 's/^Exec=//p' "/usr/share/applications/$(basename "$entry")")" start_game
close_game
apt_get purge velmoor || fail "removing the package: $(tail -n 5 "$WORK/apt.log")"
installed=""
echo "PASS"
