#!/bin/bash
# Renders docs/screenshots/regclean.png: builds bench/regclean_screenshot.cpp against the Windows
# build, runs it in a fresh prefix with a display (Xvfb), captures the screen and crops the window.
# BENCH_EXTRA_OBJS: further objects to link (none needed once the program library is complete).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine_env.sh"
BUILD="${VANTREL_BUILD:-$ROOT/build}"
work="$(mktemp -d /tmp/regclean-shot.XXXXXX)"
exe="$work/regclean_screenshot.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DUNICODE -D_UNICODE -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 \
    -D_WIN32_IE=0x0700 -municode -I"$ROOT/src" "$ROOT/bench/regclean_screenshot.cpp" ${BENCH_EXTRA_OBJS:-} \
    "$BUILD/libvantrel_win.a" "$BUILD/libvantrel_pure.a" "$BUILD/CMakeFiles/Vantrel.dir/res/vantrel.rc.res" \
    -lcomctl32 -lshell32 -lole32 -loleaut32 -luuid -ladvapi32 -lshlwapi -lgdi32 -luser32 -lcomdlg32 -lmsimg32 \
    -lversion -static -static-libgcc -static-libstdc++ -mwindows -o "$exe"
cat > "$work/run.sh" <<INNER
set -e
export WINEPREFIX="$work/prefix" HOME="$work/home"
mkdir -p "\$HOME"
make_prefix() { mkdir -p "\$1"; wineboot -i > "\$1.boot.log" 2>&1; wineserver -w; }
make_prefix "$work/prefix"
# A virtual desktop: Wine draws the window frames itself (Xvfb has no window manager).
wine explorer /desktop=shot,1024x768 "$exe" 'Z:${work//\//\\}\\ready.txt' 'Z:${work//\//\\}\\quit.txt' > "$work/wine.txt" 2>&1 &
for i in \$(seq 1 300); do [ -f "$work/ready.txt" ] && break; sleep 0.2; done
sleep 1
import -window root "$work/screen.png"
touch "$work/quit.txt"
wait
wineserver -k || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/run.sh"
geometry="$(cat "$work/ready.txt")"
mkdir -p "$ROOT/docs/screenshots"
convert "$work/screen.png" -crop "$geometry" +repage "$ROOT/docs/screenshots/regclean.png"
echo "wrote docs/screenshots/regclean.png ($geometry)"
rm -rf "$work"
