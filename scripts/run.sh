#!/usr/bin/env bash
# Sets up what is missing, builds Velmoor and starts it with the repo's Common/ as "../Common/".
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$repo/scripts/setup.sh"
cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$repo/build" -j"$(nproc)" --target velmoor
# The game reads and writes "../Common/": run it from a folder beside Common/.
cd "$repo/build"
exec ./velmoor "$@"
