#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 20).
#   tools/fuzz.sh [SECONDS] [TARGET...]      e.g. tools/fuzz.sh 600 fuzz_profiles
# Each target starts from its seeds in fuzz/corpus/<target> (and its dictionary
# fuzz/<target>.dict when there is one). The seeds are copied into a work folder
# under the build tree, so a run never writes into the repository; what a run
# finds stays there for the next run. Crashes, and inputs that take more than 20 s
# (a stall is a finding too), land in build-fuzz/artifacts with each run's log.
# TARVOLEN_FUZZ_NOBUILD=1 runs what is built without building first.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVOLEN_FUZZ_BUILD:-$here/build-fuzz}
secs=${1:-20}
shift || true
if [ "${TARVOLEN_FUZZ_NOBUILD:-0}" != 1 ]; then
  bash "$here/tools/install-deps.sh"
  CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTV_FUZZ=ON -DTV_TESTS=OFF -DTV_BENCH=OFF >/dev/null
  cmake --build "$build"
fi
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in "$build"/bin/fuzz_*; do [ -x "$t" ] && targets+=("$(basename "$t")"); done
fi
failed=()
for n in "${targets[@]}"; do
  t="$build/bin/$n"
  if [ ! -x "$t" ]; then
    echo "fuzz: no target $n in $build/bin" >&2
    failed+=("$n")
    continue
  fi
  work="$build/corpus/$n"
  mkdir -p "$work" "$build/artifacts/$n"
  seeds="$here/fuzz/corpus/$n"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
  dict=()
  [ -f "$here/fuzz/$n.dict" ] && dict=(-dict="$here/fuzz/$n.dict")
  echo "== $n (${secs}s, $(ls "$work" | wc -l) inputs)"
  # started in the work folder, but given it by its full path: targets that read
  # files from disk move to a folder of their own before the corpus is read
  if ! (cd "$work" && "$t" -max_total_time="$secs" -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
          -artifact_prefix="$build/artifacts/$n/" "${dict[@]}" "$work" >"$build/artifacts/$n.log" 2>&1); then
    failed+=("$n")
  fi
  grep -E "^#[0-9]+[[:space:]]+(DONE|INITED)|^stat::number_of_executed_units|^==[0-9]+==ERROR|^SUMMARY|Test unit written" \
    "$build/artifacts/$n.log" | tail -n 6
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings or failures in: ${failed[*]} (logs in $build/artifacts)" >&2
  exit 1
fi
