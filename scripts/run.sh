#!/usr/bin/env bash
# Installs what building and running the program needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The tests and benchmarks are scripts/test.sh's: their libraries are not needed here.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANA_TESTS=OFF -DKORVANA_BENCH=OFF >/dev/null
cmake --build build --target korvana korvana-cli kumo98
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${1:-}" != "--screenshot" ]; then
  echo "Korvana is built (build/bin/korvana) but needs a display to show its window:" >&2
  echo "run this from a desktop session, or without one: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
exec build/bin/korvana "$@"
