#!/bin/bash
# Drives for the registry cleaner's tests: R: a CD-ROM and N: a network drive, each a folder of the
# suite's sandbox. Runs with WINEPREFIX set, before the test executable starts.
set -euo pipefail
base="${VANTREL_SUITE_DIR:?}/drives"
mkdir -p "$base/cdrom/SETUP" "$base/network/share"
echo x > "$base/cdrom/SETUP/PRESENT.EXE"
echo x > "$base/network/share/present.dll"
ln -sfn "$base/cdrom" "$WINEPREFIX/dosdevices/r:"
ln -sfn "$base/network" "$WINEPREFIX/dosdevices/n:"
wine reg add 'HKLM\Software\Wine\Drives' /v r: /d cdrom /f > "$base/reg.log" 2>&1
wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >> "$base/reg.log" 2>&1
wineserver -w
