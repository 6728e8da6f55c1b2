#!/usr/bin/env bash
# A library of SONGS songs (default 10,000) by hand: start-up, a game, the wheel
# through every folder and sort, "Reset Songlist"; prints the time and resident
# memory of each step and every frame held over 50 ms. Needs a build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVOLEN_BUILD:-$here/build}
export TV_BIG_SONGS=${1:-10000}
exec "$build/bin/test_app" --gtest_filter='BigLibrary.*'
