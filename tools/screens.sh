#!/usr/bin/env bash
# Plays through every screen of the arcade and nonstop games on the bundled demo songs,
# headless with Auto Play, pressing F11 on each screen, and lays the
# screenshots out on one contact sheet. Three runs: a VERSUS game with two
# profiles that earns the Extra Stage (and the records browser), a SINGLE game
# to the credits, a game given up (game over) and the attract demo, and a
# nonstop course with a break, ended on its evaluation. Takes about five minutes; run it
# by hand after changing a screen.
#   tools/screens.sh [build-dir]      (default: build)
# Leaves the screenshots in BUILD/screens/ and the sheet in BUILD/screens.png.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
game=$build/game
[ -x "$game/tarvolen" ] && [ -x "$build/bin/tv_settings" ] && [ -x "$build/bin/tv_contentgen" ] ||
  { echo "no game at $game (build first)"; exit 2; }
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
work=$(mktemp -d /tmp/tarvolen-screens.XXXXXX)
out=$build/screens
rm -rf "$out"
mkdir -p "$out"

# Scan codes: player 1 W S A D, Tab Select, Space Start; player 2 arrows, Enter Start.
F11=87 ESC=1 START1=57 START2=28 SELECT1=15 RIGHT1=32 LEFT1=30 DOWN1=31 RIGHT2=205 DOWN2=208
tap() { echo "$1 down $2"; echo "$(($1 + 150)) up $2"; }
# a press held for $3 ms: a menu's repeating direction moves once (the first on a screen needs 180)
hold() { echo "$1 down $2"; echo "$(($1 + $3)) up $2"; }
# Start for the players given, ten times: down the modifier rows and out by EXIT
modifiers() {
  for i in $(seq 0 9); do for k in "$@"; do tap $((2000 + 250 * i)) "$k"; done; done
}

folder() {
  local d=$work/$1
  mkdir -p "$d"
  for f in Skins Sounds Songs Vis Movies Courses bonus-1.crs bonus-2.crs; do ln -s "$game/$f" "$d/$f"; done
  mkdir -p "$d/Profiles"
  echo "$d"
}

run() {
  local d=$1
  (cd "$d" && timeout 900 "$game/tarvolen" /log /fps:60 /input:script.txt >out.txt 2>&1)
  echo "$(basename "$d"): exit $?, $(ls "$d/Screenshots" 2>/dev/null | wc -l) screenshots"
}

# 1. VERSUS with two profiles; player 1 on MANIAC earns the Extra Stage
one=$(folder versus)
mkdir -p "$one/Profiles/ALICE" "$one/Profiles/BOB"
cp "$game/Songs/Demo/neon-stride/"*banner*.png "$one/Profiles/ALICE/user.png" 2>/dev/null
"$build/bin/tv_settings" "$one" autoplay=on timelimit=off profiles=on maxstage=1 extrastages=2 fps=on >/dev/null
{
  echo "@ Loading 'rkv2-title.png'"; tap 1500 $F11; tap 2000 $START1
  echo "@ Loading 'rkv2-style.png'"; tap 600 $START2; tap 1200 $F11; tap 1600 $START1
  echo "@ Loading 'rkv2-profile.png'"; tap 500 $RIGHT1; tap 500 $RIGHT2; tap 900 $RIGHT2; tap 1600 $F11
  tap 2000 $START1; tap 2000 $START2
  echo "@ Starting Song Select"; tap 1500 $F11; tap 2000 $RIGHT1; tap 2600 $DOWN1; tap 3000 $DOWN1
  tap 3400 $DOWN2; tap 4200 $F11; tap 4600 $SELECT1; tap 5200 $F11; tap 5600 $SELECT1; tap 6200 $START1
  echo "@ ModifierSelect()..."; tap 800 $DOWN1; tap 1100 $RIGHT1; tap 1500 $F11; modifiers $START1 $START2
  echo "@ Starting main game..."; tap 25000 $F11
  echo "@ Starting evaluation screen..."; tap 5000 $F11; tap 6000 $START1
  echo "@ Starting Song Select"; tap 2500 $F11; tap 3000 $ESC
  # the records browser: ALICE's card, her styles, the demo songs
  echo "@ Loading 'rkv2-title.png'"; hold 800 $DOWN1 180; hold 1200 $DOWN1 60; tap 1600 $START1
  echo "@ Starting records browser"; hold 600 $DOWN1 180; tap 1000 $F11; tap 1400 $START1; tap 2000 $F11
  tap 2400 $START1; tap 2800 $START1; tap 3400 $F11
  for i in 0 1 2 3; do tap $((3800 + 300 * i)) $ESC; done
  echo "@ Leaving records browser"; tap 1000 $ESC
} >"$one/script.txt"

# 2. SINGLE to the credits, then a game given up, then the attract demo
two=$(folder single)
"$build/bin/tv_settings" "$two" autoplay=on timelimit=off profiles=off maxstage=1 extrastages=0 >/dev/null
{
  echo "@ Loading 'rkv2-title.png'"; tap 1000 $START1
  echo "@ Loading 'rkv2-style.png'"; tap 800 $START1
  echo "@ Starting Song Select"; tap 1500 $START1
  echo "@ ModifierSelect()..."; modifiers $START1
  echo "@ Starting evaluation screen..."; tap 3000 $F11; tap 4000 $START1
  echo "@ Starting credits..."; tap 6000 $F11; tap 23500 $F11
  echo "@ Loading 'rkv2-title.png'"; tap 1000 $START1
  echo "@ Loading 'rkv2-style.png'"; tap 800 $START1
  echo "@ Starting Song Select"; tap 1500 $START1
  echo "@ ModifierSelect()..."; modifiers $START1
  echo "@ Starting main game..."; tap 8000 $ESC
  echo "@ Game over..."; tap 1500 $F11
  echo "@ Loading 'rkv2-title.png'"
  echo "@ Starting main game..."; tap 10000 $F11; tap 11000 $START1
  echo "@ Loading 'rkv2-title.png'"; tap 1000 $ESC
} >"$two/script.txt"

# 3. a nonstop course: the course wheel, a break, a song given up, the course's evaluation
three=$(folder nonstop)
"$build/bin/tv_settings" "$three" autoplay=on timelimit=off profiles=off breakafter=1 >/dev/null
{
  echo "@ Loading 'rkv2-title.png'"; hold 800 $DOWN1 180; tap 1300 $START1
  echo "@ Loading 'rkv2-style.png'"; tap 800 $START1
  echo "@ Starting Course Select"; tap 1500 $F11; hold 2000 $RIGHT1 180; tap 3000 $F11; hold 3500 $LEFT1 180
  tap 4300 $START1
  echo "@ Starting main game..."; tap 20000 $F11
  echo "@ Taking a break..."; tap 3000 $F11; tap 3500 $START1
  echo "@ Starting main game..."; tap 8000 $ESC
  echo "@ Starting course evaluation screen..."; tap 5000 $F11; tap 6000 $START1
  echo "@ Loading 'rkv2-title.png'"; tap 1000 $ESC
} >"$three/script.txt"

run "$one" &
run "$two" &
run "$three"
wait

# the shots in the order they were taken
n=0
for d in "$one" "$two" "$three"; do
  for f in $(ls -tr "$d/Screenshots" 2>/dev/null); do
    n=$((n + 1))
    cp "$d/Screenshots/$f" "$out/$(printf '%02d' $n)-$(basename "$d").png"
  done
done
pick=$(cd "$build" && ls screens/*.png | sed 's|^|../|' | paste -sd, -)
[ -n "$pick" ] && "$build/bin/tv_contentgen" "$game" --contact="$build/screens.png" --pick="$pick" >/dev/null &&
  echo "contact sheet: $build/screens.png ($n screens)"
rm -rf "$work"
