#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test three ways:
# a plain optimised build, AddressSanitizer + UndefinedBehaviorSanitizer,
# and ThreadSanitizer for the tests that use threads.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
  # Made here, so removed here: ccache and Qt put files in it.
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

if [ -f tests/interop/package.json ]; then
  if ! (cd tests/interop && npm ci --no-audit --no-fund --silent); then
    echo "npm ci failed in tests/interop: the SGF interop test needs @sabaki/sgf from the npm" >&2
    echo "registry. Check the network (or npm's proxy settings) and run scripts/test.sh again." >&2
    exit 1
  fi
fi

step() { echo; echo "=== $* ==="; }

step "format"
scripts/check-format.sh
passed=0
# Runs ctest and adds its counts to the total.
run_ctest() {
  local log
  log=$(mktemp)
  ctest "$@" --output-on-failure -j "$jobs" | tee "$log"
  local n
  n=$(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$log")
  passed=$((passed + ${n:-0}))
  rm -f "$log"
}

step "plain build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANA_TESTS=ON -DKORVANA_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
run_ctest --test-dir build

step "AddressSanitizer + UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DKORVANA_SANITIZE=address -DKORVANA_TESTS=ON -DKORVANA_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
run_ctest --test-dir build-asan

step "ThreadSanitizer (tests that use threads)"
export TSAN_OPTIONS=halt_on_error=1
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DKORVANA_SANITIZE=thread -DKORVANA_GUI=OFF -DKORVANA_TESTS=ON -DKORVANA_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs"
run_ctest --test-dir build-tsan -L thread

echo
echo "All test runs passed."
echo "$passed passed, 0 failed"
