#!/usr/bin/env bash
# Sets up what is missing, builds Velmoor and starts it with the repo's Common/ as "../Common/".
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$repo/scripts/setup.sh"
# The tests and benchmarks stay in the build where their tools are installed (the test command
# installs them), so the two commands share build/ without configuring it back and forth.
tests=OFF
if "$repo/scripts/setup.sh" --has-tests; then
  tests=ON
fi
cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOOR_TESTS="$tests" \
  -DVELMOOR_BENCH="$tests" > /dev/null
cmake --build "$repo/build" -j"$(nproc)" --target velmoor
# The game reads and writes "../Common/": run it from a folder beside Common/.
cd "$repo/build"
exec ./velmoor "$@"
