#!/usr/bin/env bash
# Fails when a C or C++ file of the project is not as .clang-format lays it out.
# Usage: check_format.sh REPO   (mend a file with: clang-format -i FILE)
set -uo pipefail
cd "$1" || exit 2
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
report="$(clang-format --dry-run --Werror "${files[@]}" 2>&1)"
if [ -n "$report" ]; then
  grep -oE '^[^ :]+\.(cpp|h|c):' <<< "$report" | sort -u | sed 's/:$//; s/^/not formatted: /'
  echo "clang-format -i the files above"
  exit 1
fi
echo "all ${#files[@]} source files are formatted"
