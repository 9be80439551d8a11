#!/bin/bash
# Runs one Wine test executable in its own copy of the template prefix, with its own HOME and
# recycle bin, and one persistent wineserver for the suite. Wine's output goes to a file, not a pipe.
set -uo pipefail
exe="$1"; shift
name="$(basename "$exe" .exe)"
: "${VANTREL_TEMPLATE_PREFIX:?run the Wine tests through scripts/test.sh}"
base="${VANTREL_TEST_TMP:-/tmp}"
work="$(mktemp -d "$base/$name.XXXXXX")"
cp -a "$VANTREL_TEMPLATE_PREFIX" "$work/prefix"
export WINEPREFIX="$work/prefix" HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export VANTREL_SUITE_DIR="$work"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
# A suite may arrange its prefix and files first: tests/<suite>/fixtures.sh <suite folder>.
here="$(cd "$(dirname "$0")" && pwd)"
for fixtures in "$here/${name%_tests}/fixtures.sh" "$here/tools/${name%_tests}/fixtures.sh"; do
    [ -f "$fixtures" ] || continue
    if ! bash "$fixtures" "$work" > "$work/fixtures.txt" 2>&1 < /dev/null; then
        cat "$work/fixtures.txt"; echo "$name: $fixtures failed"; exit 1
    fi
    wineserver -k > /dev/null 2>&1; wineserver -w > /dev/null 2>&1
    break
done
wineserver -p > /dev/null 2>&1 < /dev/null
xml="$work/result.xml"
wine "$exe" --gtest_output="xml:Z:${xml//\//\\}" "$@" > "$work/out.txt" 2>&1 < /dev/null
rc=$?
wineserver -k > /dev/null 2>&1
cat "$work/out.txt"
if [ -n "${VANTREL_RESULTS:-}" ] && [ -f "$xml" ]; then cp "$xml" "$VANTREL_RESULTS/$name.xml"; fi
if [ -z "${VANTREL_RESULTS:-}" ] || [ "$rc" -eq 0 ]; then rm -rf "$work"; fi
if [ "$rc" -ne 0 ] && [ ! -f "$xml" ]; then echo "$name: crashed or did not start (exit $rc)"; fi
exit $rc
