#!/usr/bin/env bash
# Runs a libFuzzer target over its seed corpus for a bounded time; new inputs go to a temp folder.
set -euo pipefail
fuzzer="$1"; seeds="$2"; seconds="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir corpus
"$fuzzer" corpus "$seeds" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1
