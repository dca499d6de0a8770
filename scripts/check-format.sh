#!/usr/bin/env bash
# Checks that every C++ file follows .clang-format; with --fix, rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run -Werror "${files[@]}" 2>/tmp/korvana-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/korvana-format.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
  rm -f /tmp/korvana-format.$$
  echo "Run scripts/check-format.sh --fix to format them." >&2
  exit 1
fi
rm -f /tmp/korvana-format.$$
echo "All ${#files[@]} C++ files formatted."
