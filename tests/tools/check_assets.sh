#!/usr/bin/env bash
# Fails unless the media generator makes exactly the images, sounds and music committed in
# Common/, byte for byte, and nothing more or less.
# Usage: check_assets.sh MAKE_ASSETS COMMON_DIR
set -euo pipefail
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/made" "$scratch/committed"
"$1" "$scratch/made" > "$scratch/log" 2>&1 || { echo "check_assets: $1 failed:" && cat "$scratch/log" && exit 1; }
cp "$2"/*.png "$2"/*.wav "$2"/*.mid "$scratch/committed/"
diff -rq "$scratch/made" "$scratch/committed" | sed "s|$scratch/made|generator|g; s|$scratch/committed|$2|g" ||
  { echo "check_assets: rerun make_assets on $2 and commit the media with the generator" && exit 1; }
echo "check_assets: all $(ls "$scratch/made" | wc -l) media files match"
