#!/bin/bash
# Tree-walk benchmark: makes a deterministic tree (bench/make_tree.cpp), walks it with
# TTreeScanner and the junk cleaner's 13 default masks under Wine (build/bench/tree_walk_bench.exe),
# and with GNU find and the equivalent name tests, in the same run; checks that both found the
# same files and prints the times and their ratio.
#   bench/tree_walk.sh [FILES] [RUNS]      (build first: scripts/build.sh)
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine_env.sh"
BUILD="${VANTREL_BUILD:-$ROOT/build}"
FILES="${1:-50000}"
RUNS="${2:-5}"
EXE="$BUILD/bench/tree_walk_bench.exe"
[ -f "$EXE" ] || { echo "missing $EXE: run scripts/build.sh first"; exit 1; }

work="$(mktemp -d /tmp/vantrel-bench.XXXXXX)"
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k > /dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

g++ -O2 -std=c++20 -o "$work/make_tree" "$ROOT/bench/make_tree.cpp" || exit 1
"$work/make_tree" "$work/tree" "$FILES" || exit 1

template="${VANTREL_TEMPLATE_PREFIX:-/tmp/vantrel-template}"
if [ ! -f "$template/system.reg" ]; then
    rm -rf "$template"
    make_prefix "$template" headless
fi
cp -a "$template" "$work/prefix"
export WINEPREFIX="$work/prefix" HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_DATA_HOME"
wineserver -p > /dev/null 2>&1 < /dev/null

# The Windows rules written as find tests: "~*.*" takes names without a dot too, "?" may take
# nothing before the dot, "*.??~" wants exactly two characters between the last dot and the "~".
find_junk() {
    find "$work/tree" -type f \( -iname '*.~*' -o -iname '~*' -o -iname '*.---' -o -iname '*.tmp' \
        -o -iname '*._mp' -o -iname '*.old' -o -iname '*.bak' -o -iname '*.syd' -o -iname '*.chk' \
        -o -iname '*.gid' -o -iname 'mscreate.dir' \
        -o -regextype posix-extended -iregex '.*/[^/]*\.[^./]{2}~' -o -iregex '.*/0[^./]{0,7}\.nch' \) -print
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

winroot="Z:${work//\//\\}\\tree"
winlist="Z:${work//\//\\}\\scanner.txt"
# Warm the page cache and Wine once before timing.
find_junk > "$work/find.txt"
wine "$EXE" "$winroot" 1 > "$work/warm.txt" 2>&1 < /dev/null

best_find=999999
for ((i = 0; i < RUNS; ++i)); do
    t0=$(now_ms); find_junk > "$work/find.txt"; t1=$(now_ms)
    (( t1 - t0 < best_find )) && best_find=$((t1 - t0))
done

best_wall=999999
for ((i = 0; i < RUNS; ++i)); do
    t0=$(now_ms); wine "$EXE" "$winroot" 1 "$winlist" > "$work/run.txt" 2>&1 < /dev/null; t1=$(now_ms)
    (( t1 - t0 < best_wall )) && best_wall=$((t1 - t0))
done
wine "$EXE" "$winroot" "$RUNS" > "$work/walk.txt" 2>&1 < /dev/null
best_walk=$(sed -n 's/^best \([0-9.]*\) ms/\1/p' "$work/walk.txt")

sed -e 's/\r$//' -e 's/^Z://' -e 's|\\|/|g' "$work/scanner.txt" | sort > "$work/scanner.sorted"
sort "$work/find.txt" > "$work/find.sorted"
found_scan=$(wc -l < "$work/scanner.sorted")
found_find=$(wc -l < "$work/find.sorted")
folders=$(find "$work/tree" -type d | wc -l)

echo "tree: $FILES files in $folders folders; junk masks found $found_scan (scanner), $found_find (find)"
if ! cmp -s "$work/scanner.sorted" "$work/find.sorted"; then
    echo "the two walks found different files:"
    diff "$work/scanner.sorted" "$work/find.sorted" | head -20
    exit 1
fi
echo "GNU find:                        ${best_find} ms (best of $RUNS)"
echo "TTreeScanner walk in process:    ${best_walk} ms (best of $RUNS)"
echo "TTreeScanner, whole Wine process: ${best_wall} ms (best of $RUNS, with process start)"
awk -v w="$best_walk" -v f="$best_find" -v a="$best_wall" 'BEGIN {
    if (f < 1) f = 1
    printf "ratio walk/find: %.2f   ratio process/find: %.2f\n", w / f, a / f }'
