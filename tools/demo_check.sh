#!/usr/bin/env bash
# Plays every bundled demo chart in test mode, in every style and level the
# song has, with Auto Play on, headless, and checks that each play ends fully
# PERFECT with every dance point. Takes about a minute per chart, two at a
# time; run it by hand after changing the play loop or the demo content.
#   tools/demo_check.sh [build-dir]      (default: build)
# With SHOTS=1 it also saves one F11 screenshot per song and style, 20 s in.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
game=$build/game
[ -x "$game/tarvolen" ] && [ -x "$build/bin/tv_settings" ] || { echo "no game at $game (build first)"; exit 2; }
work=$(mktemp -d /tmp/tarvolen-demo.XXXXXX)
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# one folder per play, sharing the content, each with its own settings and output
setup() {
  local d=$1
  mkdir -p "$d"
  for f in Skins Sounds Songs Vis Movies Courses; do ln -s "$game/$f" "$d/$f"; done
  mkdir -p "$d/Profiles"
}

run_one() {
  local song=$1 style=$2 level=$3 d="$work/$1-$2-$3"
  setup "$d"
  cd "$d" || return 1
  cp "$work/rkv2.cfg" "$work/rkv2.inp" .
  local input=()
  if [ "${SHOTS:-0}" = 1 ] && [ "$level" = MANIAC ]; then
    printf '20000 down 87\n20100 up 87\n' >in.txt
    input=(/input:in.txt)
  fi
  timeout 300 "$game/tarvolen" /skipsearch /fps:60 /results:results.json "${input[@]}" \
    /style:"$style" /level:"$level" /test:"Songs/Demo/$song/$song.rkv" >out.txt 2>&1
  local rc=$?
  local line
  line=$(head -n 1 results.json 2>/dev/null)
  local verdict=FAIL
  if [ $rc -eq 0 ] && [ -n "$line" ] &&
     python3 - "$line" <<'EOF'
import json, sys
r = json.loads(sys.argv[1])
bad = r["great"] + r["good"] + r["boo"] + r["miss"] + r["ng"]
sys.exit(0 if bad == 0 and r["dancePoints"] == r["maxDancePoints"] and r["perfect"] > 0 else 1)
EOF
  then verdict=ok; fi
  echo "$verdict $song $style $level rc=$rc $line"
}
export -f setup run_one
export work game

# the default settings with Auto Play switched on
"$build/bin/tv_settings" "$work" autoplay=on || { echo "cannot write the settings"; exit 2; }

jobs=()
for chart in "$game"/Songs/Demo/*/*.rkv; do
  song=$(basename "$(dirname "$chart")")
  for style in SINGLE DOUBLE SOLO; do
    for level in BASIC ANOTHER MANIAC SMANIAC; do
      grep -q "^#$style:$level:[1-9]" "$chart" || continue
      jobs+=("$song $style $level")
    done
  done
done
printf '%s\n' "${jobs[@]}" | xargs -P 2 -L 1 bash -c 'run_one "$0" "$1" "$2"' | tee "$work/summary.txt"
fails=$(grep -vc '^ok ' "$work/summary.txt")
echo "$(grep -c '^ok ' "$work/summary.txt") of ${#jobs[@]} plays all PERFECT; output in $work"
if [ "${SHOTS:-0}" = 1 ]; then ls "$work"/*/Screenshots/* 2>/dev/null; fi
[ "$fails" -eq 0 ]
