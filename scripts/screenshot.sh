#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture, with the program itself:
# the game in docs/screenshot-game.sgf in a grown window, latest-move mark,
# warnings and forbidden points on, the analysis panel after three seconds of
# thinking and the game-tree window beside. Needs no display. Further arguments go to `korvana --screenshot`
# before the game file (e.g. --action "Axis Character").
#
#     scripts/screenshot.sh [--size WxH] [--setting SECTION/KEY=VALUE]... [--action NAME]... [--wait MS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target korvana kumo98 >/dev/null
# A private runtime directory: Qt asks for one, and none may exist (root, CI).
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen "$build/bin/korvana" --screenshot docs/screenshot.png \
    --size 1100x700 --setting System/ViewLatestMove=1 --setting System/ViewWarning=1 \
    --setting System/ViewForbiddenPoints=1 --action Analysis --action "Game Tree" --wait 3000 \
    "$@" docs/screenshot-game.sgf
echo "wrote docs/screenshot.png"
