#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 20).
# Long runs are for hand use: tools/fuzz.sh 600
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVOLEN_FUZZ_BUILD:-$here/build-fuzz}
secs=${1:-20}
bash "$here/tools/install-deps.sh"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTV_FUZZ=ON -DTV_TESTS=OFF -DTV_BENCH=OFF >/dev/null
cmake --build "$build"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
mkdir -p "$build/corpus"
for t in "$build"/bin/fuzz_*; do
  [ -x "$t" ] || continue
  n=$(basename "$t")
  mkdir -p "$build/corpus/$n"
  echo "== $n (${secs}s)"
  (cd "$build/corpus/$n" && "$t" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=0 . 2>&1 | tail -n 3)
done
