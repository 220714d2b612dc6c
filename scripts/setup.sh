#!/usr/bin/env bash
# Installs, only where missing, what Velmoor needs on Debian 12: to build, install and play it,
# and with --tests also what the test command uses. As root, or through sudo.
# Usage: setup.sh             the compiler, CMake, the SDL2 libraries, zlib and the soundfont
#        setup.sh --tests     that and the test tools
#        setup.sh --has-tests installs nothing; exits 0 when the test tools are all installed
set -euo pipefail

build_packages=(
  g++ cmake make pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev zlib1g-dev timgm6mb-soundfont
)
# GoogleTest and Google Benchmark; clang with its fuzzer and sanitizer runtimes and clang-format;
# the end-to-end tests' X server, key presses, screenshots and map editor; the loudness meter's
# libraries; and what the install test checks the desktop entry, metadata, man page and package with.
test_packages=(
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xdotool x11-xserver-utils imagemagick libx11-dev tiled
  fluidsynth libfluidsynth-dev libebur128-dev libsndfile1-dev libfftw3-dev
  desktop-file-utils appstream dpkg-dev file lintian man-db
)

packages=("${build_packages[@]}")
case "${1:-}" in
"") ;;
--tests | --has-tests) packages+=("${test_packages[@]}") ;;
*)
  echo "setup.sh: unknown option $1; use no option, --tests or --has-tests." >&2
  exit 2
  ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ "${1:-}" = --has-tests ]; then
  [ ${#missing[@]} -eq 0 ]
  exit
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo > /dev/null || {
    echo "setup.sh: installing needs root; run it as root, or install sudo." >&2
    exit 1
  }
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
