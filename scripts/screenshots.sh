#!/bin/bash
# Renders the program's windows to docs/screenshots/*.png: a helper program shows each window in
# a throwaway Wine prefix with the X11 driver on an Xvfb screen, and captures it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine_env.sh"
BUILD="${VANTREL_BUILD:-$ROOT/build}"
OUT="$ROOT/docs/screenshots"

[ -f "$BUILD/build.ninja" ] || "$ROOT/scripts/build.sh"
cmake --build "$BUILD" --target shots

work="$(mktemp -d /tmp/vantrel-shots.XXXXXX)"
trap 'WINEPREFIX="$work/prefix" wineserver -k > /dev/null 2>&1 || true; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
export WINEPREFIX="$work/prefix"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$work/bmp"
make_prefix "$WINEPREFIX"
# No window manager runs on Xvfb: Wine draws the frames and captions itself, as Windows does.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f > /dev/null 2>&1
wineserver -w

bmpdir="Z:${work//\//\\}\\bmp"
rc=0
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    wine "$BUILD/tests/shots.exe" "$bmpdir" > "$work/shots.log" 2>&1 < /dev/null || rc=$?
cat "$work/shots.log" | grep -v '^[0-9a-f]*:\(fixme\|err\|warn\)' || true
[ "$rc" -eq 0 ] || { echo "screenshots: the renderer failed (exit $rc)"; exit 1; }

mkdir -p "$OUT"
for bmp in "$work"/bmp/*.bmp; do
    name="$(basename "$bmp" .bmp)"
    convert "$bmp" -strip "$OUT/$name.png"
    echo "screenshots: $OUT/$name.png"
done
