#!/bin/bash
# Junk scan benchmark: a full scan of the junk cleaner (the 13 default file types, "Find zero
# length files" on, one drive mapped to a generated tree) timed inside the program under Wine
# (build/bench/junk_scan_bench.exe, no process start-up), against GNU find with the equivalent
# name tests and -empty on the same tree in the same run; checks that both list the same files.
# The drive's tree has about one junk-looking name in eight and one empty file in 25 (K:); the
# same tree with three files in four empty (M:, a finding for every other file) shows what the
# rows cost; a third tree of exactly 20 000 junk files times the listing of 20 000 findings (L:).
#   bench/junk_scan.sh [FILES] [RUNS]      (build first: scripts/build.sh)
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine_env.sh"
BUILD="${VANTREL_BUILD:-$ROOT/build}"
FILES="${1:-50000}"
RUNS="${2:-1}"
EXE="$BUILD/bench/junk_scan_bench.exe"
[ -f "$EXE" ] || { echo "missing $EXE: run scripts/build.sh first"; exit 1; }

work="$(mktemp -d /tmp/vantrel-junkbench.XXXXXX)"
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k > /dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

# The tree of the tree-walk benchmark, and one of 20 000 findings (100 folders of 200 files).
g++ -O2 -std=c++20 -o "$work/make_tree" "$ROOT/bench/make_tree.cpp" || exit 1
"$work/make_tree" "$work/tree" "$FILES" 20260101 25 || exit 1
"$work/make_tree" "$work/dense" "$FILES" > /dev/null || exit 1
for ((d = 0; d < 100; ++d)); do
    mkdir -p "$work/found/folder $d"
    for ((f = 0; f < 200; ++f)); do printf 'junk data\n' > "$work/found/folder $d/file$f.tmp"; done
done

template="${VANTREL_TEMPLATE_PREFIX:-/tmp/vantrel-template}"
if [ ! -f "$template/system.reg" ]; then
    rm -rf "$template"
    make_prefix "$template" headless
fi
cp -a "$template" "$work/prefix"
export WINEPREFIX="$work/prefix" HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_DATA_HOME"
ln -sfn "$work/tree" "$WINEPREFIX/dosdevices/k:"
ln -sfn "$work/found" "$WINEPREFIX/dosdevices/l:"
ln -sfn "$work/dense" "$WINEPREFIX/dosdevices/m:"
for d in k l m; do
    wine reg add 'HKLM\Software\Wine\Drives' /v $d: /d hd /f > "$work/reg-$d.txt" 2>&1
done
wineserver -k > /dev/null 2>&1; wineserver -w > /dev/null 2>&1
wineserver -p > /dev/null 2>&1 < /dev/null

# The Windows rules of the 13 default types as find tests ("~*.*" takes names without a dot too,
# "?" may take nothing before the dot, "*.??~" wants exactly two characters between the last dot
# and the "~"), and the zero-length files.
find_junk() {
    find "$1" -type f \( -iname '*.~*' -o -iname '~*' -o -iname '*.---' -o -iname '*.tmp' \
        -o -iname '*._mp' -o -iname '*.old' -o -iname '*.bak' -o -iname '*.syd' -o -iname '*.chk' \
        -o -iname '*.gid' -o -iname 'mscreate.dir' \
        -o -regextype posix-extended -iregex '.*/[^/]*\.[^./]{2}~' -o -iregex '.*/0[^./]{0,7}\.nch' \
        -o -empty \) -print
}
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
best_of() { # best_of VAR COMMAND...: the best wall time of five runs, in ms
    local var="$1"; shift
    local best=999999999 t0 t1
    for ((i = 0; i < 5; ++i)); do
        t0=$(now_ms); "$@"; t1=$(now_ms)
        (( t1 - t0 < best )) && best=$((t1 - t0))
    done
    printf -v "$var" '%s' "$best"
}

# Warm the page cache and Wine once before timing.
find_junk "$work/tree" > "$work/find.txt"
find_junk "$work/found" > /dev/null
find_junk "$work/dense" > /dev/null
wine "$EXE" L 1 > "$work/warm.txt" 2>&1 < /dev/null

find_tree() { find_junk "$work/tree" > "$work/find.txt"; }
find_found() { find_junk "$work/found" > "$work/find20k.txt"; }
find_dense() { find_junk "$work/dense" > "$work/finddense.txt"; }
best_of find_ms find_tree
best_of find20k_ms find_found
best_of finddense_ms find_dense
winlist="Z:${work//\//\\}\\rows.txt"
wine "$EXE" K "$RUNS" "$winlist" > "$work/scan.txt" 2>&1 < /dev/null
wine "$EXE" L "$RUNS" > "$work/scan20k.txt" 2>&1 < /dev/null
wine "$EXE" M "$RUNS" > "$work/scandense.txt" 2>&1 < /dev/null
scan_ms=$(sed -n 's/^best \([0-9.]*\) ms/\1/p' "$work/scan.txt")
walks_ms=$(sed -n 's/^walks \([0-9.]*\) ms.*/\1/p' "$work/scan.txt")
first_ms=$(sed -n 's/^walks [0-9.]* ms (first \([0-9.]*\) ms.*/\1/p' "$work/scan.txt")
dense_ms=$(sed -n 's/^best \([0-9.]*\) ms/\1/p' "$work/scandense.txt")
denserows=$(sed -n 's/^run 1: \([0-9]*\) rows.*/\1/p' "$work/scandense.txt")
scan20k_ms=$(sed -n 's/^best \([0-9.]*\) ms/\1/p' "$work/scan20k.txt")
rows20k=$(sed -n 's/^run 1: \([0-9]*\) rows.*/\1/p' "$work/scan20k.txt")

# The rows are lower-case paths on K:; find's are Unix paths below the tree.
sed -e 's/\r$//' -e 's/^k:\\//' -e 's|\\|/|g' "$work/rows.txt" | sort > "$work/rows.sorted"
sed -e "s|^$work/tree/||" "$work/find.txt" | tr 'A-Z' 'a-z' | sort > "$work/find.sorted"
listed=$(wc -l < "$work/rows.sorted")
found=$(wc -l < "$work/find.sorted")
folders=$(find "$work/tree" -type d | wc -l)

echo "tree: $FILES files in $folders folders; findings: $listed rows (junk scan), $found (find)"
if ! cmp -s "$work/rows.sorted" "$work/find.sorted"; then
    echo "the junk scan and find listed different files:"
    diff "$work/rows.sorted" "$work/find.sorted" | head -20
    exit 1
fi
echo "GNU find, 13 name tests and -empty:   ${find_ms} ms (best of 5)"
echo "junk scan, both walks and the rows:    ${scan_ms} ms (best of $RUNS, in process)"
awk -v s="$scan_ms" -v f="$find_ms" 'BEGIN { if (f < 1) f = 1; printf "ratio junk scan/find: %.1f\n", s / f }'
echo "the two walks alone (no file looked at): ${walks_ms} ms, of which the first ${first_ms} ms"
awk -v s="$walks_ms" -v f="$find_ms" 'BEGIN { if (f < 1) f = 1; printf "ratio walks/find: %.1f\n", s / f }'
echo "dense tree (3 in 4 files empty): junk scan ${dense_ms} ms for ${denserows} rows; find ${finddense_ms} ms"
awk -v s="$dense_ms" -v f="$finddense_ms" 'BEGIN { if (f < 1) f = 1; printf "ratio dense junk scan/find: %.1f\n", s / f }'
echo "20 000 findings: junk scan ${scan20k_ms} ms for ${rows20k} rows; find ${find20k_ms} ms (best of 5)"
