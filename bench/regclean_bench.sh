#!/bin/bash
# Registry cleaner benchmark: builds bench/regclean_bench.cpp against the Windows build (run
# ./scripts/build.sh first), runs it in a fresh headless prefix, and times Wine's own "reg query /s"
# on the same tree for comparison.
# BENCH_EXTRA_OBJS: further objects to link (none needed once the program library is complete).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine_env.sh"
BUILD="${VANTREL_BUILD:-$ROOT/build}"
work="$(mktemp -d /tmp/regclean-bench.XXXXXX)"
exe="$work/regclean_bench.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DUNICODE -D_UNICODE -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 \
    -D_WIN32_IE=0x0700 -municode -I"$ROOT/src" "$ROOT/bench/regclean_bench.cpp" ${BENCH_EXTRA_OBJS:-} \
    "$BUILD/libvantrel_win.a" "$BUILD/libvantrel_pure.a" -lcomctl32 -lshell32 -lole32 -loleaut32 -luuid -ladvapi32 \
    -lshlwapi -lgdi32 -luser32 -lcomdlg32 -lmsimg32 -lversion -static -static-libgcc -static-libstdc++ -o "$exe"
make_prefix "$work/prefix" headless
export WINEPREFIX="$work/prefix" HOME="$work/home"
mkdir -p "$HOME"
wineserver -p > /dev/null 2>&1 < /dev/null
# Wine's reg.exe listing the same tree: the raw cost of enumerating it.
wine "$exe" --fill > /dev/null 2>&1 < /dev/null
start=$(date +%s.%N)
wine reg query 'HKCU\Software\VantrelBench' /s > "$work/query.txt" 2>&1 < /dev/null || true
end=$(date +%s.%N)
echo "== reg query /s on the same tree"
echo "reg_query_seconds: $(awk "BEGIN { printf \"%.2f\", $end - $start }")"
echo "reg_query_lines: $(wc -l < "$work/query.txt")"
echo "== regclean_bench"
wine "$exe" > "$work/bench.txt" 2>&1 < /dev/null || true
cat "$work/bench.txt"
wineserver -k > /dev/null 2>&1 || true
rm -rf "$work"
