#!/usr/bin/env bash
# A long arcade game by hand: STAGES stages (default 100) of "Max Stage"
# Unlimited, resident memory, open files and threads printed after every stage.
# Needs a build (tools/test.sh or cmake --build build). About 14 s a stage.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVOLEN_BUILD:-$here/build}
export TV_SOAK_STAGES=${1:-100}
exec "$build/bin/test_app" --gtest_filter='Soak.*'
