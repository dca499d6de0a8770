#!/usr/bin/env bash
# Runs one libFuzzer target for a given time, built with clang and
# AddressSanitizer + UndefinedBehaviorSanitizer.
#   scripts/fuzz.sh TARGET SECONDS      TARGET: sgf, banpos, psq, clipboard or database
# The corpus grows in fuzz-corpus/TARGET; crashes land in fuzz-corpus/TARGET-crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
build=${FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVANA_FUZZ=ON -DKORVANA_SANITIZE=address -DKORVANA_GUI=OFF -DKORVANA_BENCH=OFF >/dev/null
cmake --build "$build" --target "fuzz_$target" -j "${JOBS:-2}"
mkdir -p "fuzz-corpus/$target" "fuzz-corpus/$target-crashes"
# A few well-formed inputs to start from.
if [ -z "$(ls -A "fuzz-corpus/$target")" ]; then
  printf '(;GM[4]SZ[15]RU[Renju 1998];B[hh]C[5](;W[ih];B[ig])(;W[];B[ii]))\n' >"fuzz-corpus/$target/seed1"
  printf '808\n809\n707\n' >"fuzz-corpus/$target/seed2"
  printf '\003\160\161\142' >"fuzz-corpus/$target/seed3"
  printf 'h8,i8,--j9,xx,' >"fuzz-corpus/$target/seed4"
  printf 'Piskvorky 15x15, 11:11, 0\r\n8,8,1000\r\n9,9,0\r\npbrain-x.exe\r\n-1\r\n' >"fuzz-corpus/$target/seed5"
  printf '1. h8 i9\n2. J10 k11, 3.hA\n' >"fuzz-corpus/$target/seed6"
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# -close_fd_mask=2: the readers' "error : " lines on stderr would only slow the run.
exec "$build/bin/fuzz_$target" "fuzz-corpus/$target" -max_total_time="$seconds" -max_len=4096 \
  -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 \
  -artifact_prefix="fuzz-corpus/$target-crashes/"
