#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, only those missing.
# Runs apt-get as root, or through sudo; otherwise prints the command to run.
set -eu
pkgs=(
  build-essential cmake pkg-config
  libsdl1.2-compat-dev libfreeimage-dev
  libsndfile1-dev libsamplerate0-dev libfftw3-dev nettle-dev
  libavformat-dev libavcodec-dev libswscale-dev
  libcairo2-dev libfreetype-dev fonts-dejavu-core espeak-ng
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang
)
missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then run=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then run=(sudo)
else
  echo "install-deps: cannot install as this user; run:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
