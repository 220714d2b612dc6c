#!/usr/bin/env bash
# Sets up what is missing, then builds and runs every test: the normal build with the
# end-to-end tests under Xvfb, and a clang build under AddressSanitizer and
# UndefinedBehaviorSanitizer that also runs the loaders' fuzzers for a bounded time.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

"$repo/scripts/setup.sh" --tests

echo "== Source layout (clang-format)"
"$repo/tests/tools/check_format.sh" "$repo"

echo "== Build and test (g++)"
# Every option is given, so that what a folder has cached (a build made only to install, with the
# tests off) cannot turn tests off; a folder with no tests at all fails.
cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOOR_WERROR=ON \
  -DVELMOOR_TESTS=ON -DVELMOOR_BENCH=ON -DVELMOOR_E2E=ON -DVELMOOR_SANITIZE=OFF -DVELMOOR_FUZZ=OFF > /dev/null
cmake --build "$repo/build" -j"$jobs"
ctest --test-dir "$repo/build" --output-on-failure --no-tests=error -j"$jobs" -LE e2e
# The end-to-end tests drive the real game in real time: one at a time, on a quiet machine.
ctest --test-dir "$repo/build" --output-on-failure --no-tests=error -L e2e

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer (clang), with fuzzing"
cmake -S "$repo" -B "$repo/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVELMOOR_WERROR=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVELMOOR_TESTS=ON -DVELMOOR_SANITIZE=ON -DVELMOOR_FUZZ=ON -DVELMOOR_BENCH=OFF -DVELMOOR_E2E=OFF > /dev/null
cmake --build "$repo/build-sanitize" -j"$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$repo/build-sanitize" --output-on-failure --no-tests=error -j"$jobs"
