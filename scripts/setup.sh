#!/usr/bin/env bash
# Installs, only where missing, everything Velmoor needs to build, run and test on Debian 12.
set -euo pipefail

packages=(
  g++ cmake make pkg-config clang libclang-rt-14-dev clang-format
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev zlib1g-dev timgm6mb-soundfont
  libgtest-dev libbenchmark-dev
  xvfb xdotool x11-xserver-utils imagemagick libx11-dev tiled
  fluidsynth libfluidsynth-dev libebur128-dev libsndfile1-dev libfftw3-dev
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
