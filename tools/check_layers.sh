#!/usr/bin/env bash
# The layer check: every #include of the game's sources may only reach its own
# folder or a folder below it. The order is the one CMakeLists.txt builds the
# layers in (TV_LAYERS, lowest first). An include that goes up or sideways is
# printed as FILE:LINE with what it includes, and the check fails.
#
#   tools/check_layers.sh [SOURCE_ROOT]
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || { echo "check_layers: no folder $root" >&2; exit 2; }
layers=$(sed -n 's/^[[:space:]]*set(TV_LAYERS[[:space:]]\{1,\}\([^)]*\)).*/\1/p' CMakeLists.txt | head -n 1)
if [ -z "$layers" ]; then
  echo "check_layers: CMakeLists.txt has no set(TV_LAYERS ...) line" >&2
  exit 2
fi
dirs=()
for l in $layers; do [ -d "$l" ] && dirs+=("$l"); done
[ ${#dirs[@]} -gt 0 ] || { echo "check_layers: none of the layer folders ($layers) is here" >&2; exit 2; }

# Every include line of every source, as FILE:LINE:TEXT.
grep -rnE --include='*.cpp' --include='*.h' --include='*.hpp' --include='*.cc' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "${dirs[@]}" |
awk -v layers="$layers" -v others="tests tools bench fuzz" '
function normalise(path,   n, parts, out, i, k) {
  n = split(path, parts, "/"); k = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] == "..") { if (k > 0) k--; else return ""; continue }
    out[++k] = parts[i]
  }
  path = ""
  for (i = 1; i <= k; i++) path = path (i > 1 ? "/" : "") out[i]
  return path
}
BEGIN {
  n = split(layers, order, " ")
  for (i = 1; i <= n; i++) rank[order[i]] = i
  split(others, o, " ")
  for (i in o) outside[o[i]] = 1
  picture = order[1]
  for (i = 2; i <= n; i++) picture = picture " < " order[i]
}
{
  file = $0; sub(/:.*/, "", file)
  rest = substr($0, length(file) + 2)
  line = rest; sub(/:.*/, "", line)
  text = substr(rest, length(line) + 2)
  if (!match(text, /include[ \t]*["<][^">]+[">]/)) next
  target = substr(text, RSTART, RLENGTH)
  quoted = target ~ /"/
  sub(/^include[ \t]*["<]/, "", target); sub(/[">]$/, "", target)
  from = file; sub(/\/.*/, "", from)
  top = target; sub(/\/.*/, "", top)
  if ((top in rank) || (top in outside)) {
    where = normalise(target)
  } else if (quoted) {
    # found beside the including file first
    dir = file; sub(/\/[^\/]*$/, "", dir)
    where = normalise(dir "/" target)
  } else {
    next   # a system or library header
  }
  checked++
  to = where; sub(/\/.*/, "", to)
  if (where == "" || to in outside) {
    printf "%s:%s: includes \"%s\", which is outside the game'"'"'s layers\n", file, line, target
    bad++
  } else if ((to in rank) && rank[to] > rank[from]) {
    printf "%s:%s: includes \"%s\": %s is above %s\n", file, line, target, to, from
    bad++
  }
}
END {
  if (bad) {
    printf "check_layers: %d include(s) against the order %s\n", bad, picture
    exit 1
  }
  printf "check_layers: %d includes follow the order %s\n", checked, picture
}'
