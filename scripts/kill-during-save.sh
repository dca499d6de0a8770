#!/usr/bin/env bash
# Kills korvana-cli with SIGKILL at random moments while it saves a large game
# record (convert) or a large opening-book file (db update), and checks after
# every kill that the target is either the whole old or the whole new
# version. A temporary left by a kill must be gone after the next save of
# the same file; none may be left at the end.
#   scripts/kill-during-save.sh [KILLS] [BIN_DIR]     (default 300, build/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
kills=${1:-300}
cli=${2:-build/bin}/korvana-cli
[ -x "$cli" ] || { echo "no $cli: build korvana-cli first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
RANDOM=${SEED:-20}

# A record of 30000 short variations (about 1.3 MB of SGF), in two versions.
for v in a b; do
  awk -v v="$v" 'BEGIN {
    srand(v == "a" ? 1 : 2); printf "(;GM[4]FF[4]SZ[15]"
    for (g = 0; g < 30000; g++) {
      printf "(;B[hh]"
      for (m = 0; m < 6; m++) printf ";%s[%c%c]", m % 2 ? "B" : "W", 97 + int(rand() * 15), 97 + int(rand() * 15)
      printf ")"
    }
    print ")" }' >"$work/in-$v.sgf"
done
# A book of 300000 three-stone positions (about 7 MB).
mkdir "$work/book"
awk 'BEGIN { srand(3); print "210 300000 3\r"
  for (i = 0; i < 300000; i++) printf "1024 %d %d %d %d 0\r\n", int(rand() * 225), int(rand() * 225), int(rand() * 225), int(rand() * 225) }' \
  >"$work/book/kumo003.adb"

convert() { "$cli" convert "$work/in-$1.sgf" "$work/out.sgf" --format sgf; }
update() { "$cli" db update --dir "$work/book" a1,b1,c1,**, "$1"; }
sum() { sha256sum "$1" | cut -d' ' -f1; }
now_ms() { date +%s%3N; }
temporaries() { find "$work" -name '*.tmp' | wc -l; }

# The whole versions each command writes, and how long a clean run takes.
convert a >/dev/null && record_a=$(sum "$work/out.sgf")
t0=$(now_ms); convert b >/dev/null && record_b=$(sum "$work/out.sgf"); convert_ms=$(($(now_ms) - t0))
update d1 && book_d=$(sum "$work/book/kumo003.adb")
t0=$(now_ms); update e1 && book_e=$(sum "$work/book/kumo003.adb"); update_ms=$(($(now_ms) - t0))
echo "clean runs: convert ${convert_ms} ms, db update ${update_ms} ms"

old=0 new=0 torn=0 left_behind=0 cleared=0
for ((i = 0; i < kills; i++)); do
  if ((i % 2)); then
    target="$work/out.sgf" version=$(( (i / 2) % 2 )); runtime=$convert_ms
    if ((version)); then cmd=(convert b); want=$record_b; other=$record_a; else cmd=(convert a); want=$record_a; other=$record_b; fi
  else
    target="$work/book/kumo003.adb" version=$(( (i / 2) % 2 )); runtime=$update_ms
    if ((version)); then cmd=(update e1); want=$book_e; other=$book_d; else cmd=(update d1); want=$book_d; other=$book_e; fi
  fi
  before_tmp=$(temporaries)
  "${cmd[@]}" >/dev/null 2>&1 &
  pid=$!
  # Anywhere from the start to a little past the clean run's end.
  delay=$((RANDOM % (runtime * 12 / 10 + 1)))
  sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  got=$(sum "$target")
  if [ "$got" = "$want" ]; then new=$((new + 1)); elif [ "$got" = "$other" ]; then old=$((old + 1)); else torn=$((torn + 1)); echo "kill $i: $target is neither version" >&2; fi
  after_tmp=$(temporaries)
  ((after_tmp > 0)) && left_behind=$((left_behind + 1))
  ((before_tmp > 0 && after_tmp < before_tmp)) && cleared=$((cleared + 1))
  # A finished run of the same command must bring the target to the new version.
  if ((i % 50 == 49)); then "${cmd[@]}" >/dev/null 2>&1; [ "$(sum "$target")" = "$want" ] || torn=$((torn + 1)); fi
done
# One clean save of each file clears what the last kills left.
convert a >/dev/null; update d1
final_tmp=$(temporaries)
echo "kills: $kills; target whole old: $old, whole new: $new, neither: $torn"
echo "kills that left a temporary: $left_behind; later saves that removed one: $cleared; temporaries at the end: $final_tmp"
[ "$torn" -eq 0 ] && [ "$final_tmp" -eq 0 ]
