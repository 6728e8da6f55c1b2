#!/usr/bin/env bash
# Kills a saving game thousands of times and checks every player file after each
# kill (the test's own rounds, many more of them). Usage:
#   tools/kill_soak.sh [kills] [seed]      (default 5000 kills, a random seed)
# TARVOLEN_BUILD picks the build folder. TV_KEEP_TEMP=1 keeps the game folder of
# a failed run for a look.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVOLEN_BUILD:-$here/build}
bin=$build/bin/test_library
[ -x "$bin" ] || { echo "build first: $bin is missing" >&2; exit 1; }
export TV_KILL_ROUNDS=${1:-5000}
[ -n "${2:-}" ] && export TV_KILL_SEED=$2
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
exec "$bin" --gtest_filter='PlayerFilesKill.*'
