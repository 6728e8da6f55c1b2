#!/usr/bin/env bash
# Sets everything up (packages, build) and starts the game in its folder.
# Extra arguments are passed to the game, e.g.  tools/play.sh /log /fps:60
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVOLEN_BUILD:-$here/build}
bash "$here/tools/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tarvolen
cd "$build/game"
exec ./tarvolen "$@"
