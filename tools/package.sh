#!/usr/bin/env bash
# Builds the Debian package on a fresh machine: installs what the build needs,
# builds, makes build-package/tarvolen_<version>_<arch>.deb with CPack and checks
# it with lintian (its errors fail the script; warnings are printed).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVOLEN_PACKAGE_BUILD:-$here/build-package}
bash "$here/tools/install-deps.sh"
if ! command -v lintian >/dev/null || ! command -v appstreamcli >/dev/null || ! command -v desktop-file-validate >/dev/null; then
  run=(); [ "$(id -u)" -eq 0 ] || run=(sudo)
  DEBIAN_FRONTEND=noninteractive "${run[@]}" apt-get install -y -qq --no-install-recommends \
    lintian dpkg-dev appstream desktop-file-utils
fi
desktop-file-validate "$here/tools/package/tarvolen.desktop"
appstreamcli validate --no-net "$here/tools/package/io.github.tarvolen.Tarvolen.metainfo.xml"
# -O2 as every test runs it (GCC 12 at -O3 trips over the PNG writer's setjmp);
# CPack strips the debug information
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTV_TESTS=OFF -DTV_BENCH=OFF >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/tarvolen_*.deb | head -n 1)
echo "package: $deb"
# errors fail; the warnings and notes are shown
lintian --fail-on error --info "$deb" || { echo "lintian found errors" >&2; exit 1; }
