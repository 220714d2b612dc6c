#!/usr/bin/env bash
# Shared globals are declared in headers only: fails when a source file declares an extern
# variable (the C library's own functions declared for a test's allocator hooks are allowed).
set -euo pipefail
repo="$1"
hits="$(grep -rnE '^\s*extern\s' "$repo/src" "$repo/tests" "$repo/bench" "$repo/fuzz" "$repo/tools" \
  --include='*.cpp' --include='*.c' 2>/dev/null | grep -v 'extern "C"' || true)"
if [ -n "$hits" ]; then
  echo "extern outside a header:"
  echo "$hits"
  exit 1
fi
echo "no extern outside headers"
